// The dialog "DISPLAY": three linked lists for the renderer, the graphics card
// and the screen mode. It edits the current choices of a RendererList in place.
#pragma once
#include <windows.h>

#include "display/renderer_list.h"

namespace velk {

// Shows "DISPLAY" modally over `owner`: 1 after OK, 0 after Cancel, -1 when
// the dialog could not be made.
INT_PTR ShowDisplayDialog(HWND owner, RendererList& renderers);

// The WM_INITDIALOG parameter is the RendererList the dialog works on.
INT_PTR CALLBACK DisplayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the three boxes from the model; false when a box is missing or a
// level has nothing to show.
bool InitDisplayLists(RendererList& renderers, HWND rendererBox, HWND cardBox, HWND modeBox);
// Copies the three selections into the model, refilling the boxes below a
// level whose selection changed; false when a level has nothing selected.
bool TakeDisplaySelection(RendererList& renderers, HWND rendererBox, HWND cardBox, HWND modeBox);

// Each fills the box with the children in list order, each item carrying its
// object, and selects the current child or the fallback item.
bool FillRendererBox(HWND box, const RendererList& renderers);
bool FillCardBox(HWND box, const Renderer& renderer);
bool FillModeBox(HWND box, const DisplayCard& card);

// Selects the first item carrying the object; false for none or no such item.
bool SelectItemInBox(HWND box, const void* object);
// The object of the selected item; none when nothing is selected.
void* SelectedItem(HWND box);

}  // namespace velk
