// Performance-level dialog "DETAIL": control ids.
#pragma once

#define IDC_DETAIL_HIGH_PERFORMANCE 1045
#define IDC_DETAIL_NORMAL 1047
#define IDC_DETAIL_HIGH_DETAIL 1048
