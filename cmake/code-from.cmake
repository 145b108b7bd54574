# Links velk_pure and velk_app (and GoogleTest, in tests/) as compiled in the build VELK_CODE_FROM instead
# of compiling their sources again. That build must be built first, with the
# same toolchain and build type; only the language may differ.
if(VELK_LANGUAGE STREQUAL VELK_DEFAULT_LANGUAGE)
  message(FATAL_ERROR "VELK_CODE_FROM is for a build in another language than ${VELK_DEFAULT_LANGUAGE}")
endif()
foreach(var CMAKE_TOOLCHAIN_FILE CMAKE_BUILD_TYPE VELK_LANGUAGE)
  load_cache(${VELK_CODE_FROM} READ_WITH_PREFIX from_ ${var})
endforeach()
if(NOT from_CMAKE_TOOLCHAIN_FILE STREQUAL CMAKE_TOOLCHAIN_FILE OR NOT from_CMAKE_BUILD_TYPE STREQUAL CMAKE_BUILD_TYPE
   OR NOT from_VELK_LANGUAGE STREQUAL VELK_DEFAULT_LANGUAGE)
  message(FATAL_ERROR "VELK_CODE_FROM=${VELK_CODE_FROM} is no ${CMAKE_BUILD_TYPE} build of the default language "
    "for ${CMAKE_TOOLCHAIN_FILE} (it has '${from_CMAKE_BUILD_TYPE}', '${from_VELK_LANGUAGE}', '${from_CMAKE_TOOLCHAIN_FILE}')")
endif()

# The libraries keep their names and include folders; their sources are only
# listed, and the other build's archives come first on every link line that
# takes them (the system libraries again after them, for their imports).
foreach(lib velk_pure velk_app)
  get_target_property(sources ${lib} SOURCES)
  set_source_files_properties(${sources} TARGET_DIRECTORY ${lib} PROPERTIES HEADER_FILE_ONLY ON)
endforeach()
target_link_libraries(velk_app INTERFACE
  ${VELK_CODE_FROM}/libvelk_app.a ${VELK_CODE_FROM}/libvelk_pure.a ${velk_app_system_libs})
