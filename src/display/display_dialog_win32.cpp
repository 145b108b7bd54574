#include "display/display_dialog.h"

#include "base/dialog_services.h"
#include "resources/ids_display.h"

namespace velk {

namespace {

template <typename Child, typename ListText>
void FillBox(HWND box, const std::vector<std::unique_ptr<Child>>& children, ListText listText) {
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (const auto& child : children) {
        std::string text = listText(*child);
        LRESULT index = SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) SendMessageA(box, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(child.get()));
    }
}

bool SelectIndex(HWND box, LRESULT index) { return SendMessageA(box, LB_SETCURSEL, index, 0) != LB_ERR; }

bool TakeDialogSelection(HWND dialog, RendererList& renderers) {
    return TakeDisplaySelection(renderers, GetDlgItem(dialog, IDC_RENDERER_LIST), GetDlgItem(dialog, IDC_CARD_LIST),
                                GetDlgItem(dialog, IDC_MODE_LIST));
}

bool IsDisplayList(int id) { return id == IDC_RENDERER_LIST || id == IDC_CARD_LIST || id == IDC_MODE_LIST; }

void OnInitDialog(HWND dialog, RendererList& renderers) {
    SetDialogIcon(dialog);
    InitDisplayLists(renderers, GetDlgItem(dialog, IDC_RENDERER_LIST), GetDlgItem(dialog, IDC_CARD_LIST),
                     GetDlgItem(dialog, IDC_MODE_LIST));
    TakeDialogSelection(dialog, renderers);
}

void OnCommand(HWND dialog, RendererList& renderers, WPARAM wParam) {
    if (wParam == IDOK) {
        TakeDialogSelection(dialog, renderers);
        EndDialog(dialog, 1);
    } else if (wParam == IDCANCEL) {
        // The next opening starts from the first renderer; cards and modes keep their choices.
        renderers.currentRenderer = nullptr;
        EndDialog(dialog, 0);
    } else if (HIWORD(wParam) == LBN_SELCHANGE && IsDisplayList(LOWORD(wParam))) {
        TakeDialogSelection(dialog, renderers);
    }
}

}  // namespace

INT_PTR ShowDisplayDialog(HWND owner, RendererList& renderers) {
    return DialogBoxParamA(LauncherModule(), "DISPLAY", owner, DisplayDialogProc,
                           reinterpret_cast<LPARAM>(&renderers));
}

INT_PTR CALLBACK DisplayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DataDialogProc<RendererList, OnInitDialog, OnCommand>(dialog, message, wParam, lParam);
}

bool InitDisplayLists(RendererList& renderers, HWND rendererBox, HWND cardBox, HWND modeBox) {
    if (!rendererBox || !cardBox || !modeBox) return false;
    FillRendererBox(rendererBox, renderers);
    auto* renderer = static_cast<Renderer*>(SelectedItem(rendererBox));
    if (!renderer) return false;
    FillCardBox(cardBox, *renderer);
    auto* card = static_cast<DisplayCard*>(SelectedItem(cardBox));
    if (!card) return false;
    FillModeBox(modeBox, *card);
    return true;
}

bool TakeDisplaySelection(RendererList& renderers, HWND rendererBox, HWND cardBox, HWND modeBox) {
    if (!rendererBox || !cardBox || !modeBox) return false;
    bool changed = false;

    auto* renderer = static_cast<Renderer*>(SelectedItem(rendererBox));
    if (renderer != renderers.currentRenderer) {
        renderers.currentRenderer = renderer;
        if (!SelectItemInBox(rendererBox, renderer)) return false;
        FillCardBox(cardBox, *renderer);
        changed = true;
    }
    if (!renderer) return false;

    auto* card = static_cast<DisplayCard*>(SelectedItem(cardBox));
    if (card != renderer->currentCard || changed) {
        renderer->currentCard = card;
        if (!SelectItemInBox(cardBox, card)) return false;
        FillModeBox(modeBox, *card);
        changed = true;
    }
    if (!card) return false;

    auto* mode = static_cast<DisplayMode*>(SelectedItem(modeBox));
    if (mode != card->currentMode || changed) card->currentMode = mode;
    return true;
}

bool FillRendererBox(HWND box, const RendererList& renderers) {
    if (!box) return false;
    FillBox(box, renderers.items, [](const Renderer& r) { return r.ListText(); });
    if (!SelectItemInBox(box, renderers.currentRenderer)) SelectIndex(box, 0);
    return true;
}

bool FillCardBox(HWND box, const Renderer& renderer) {
    if (!box) return false;
    FillBox(box, renderer.cards, [](const DisplayCard& c) { return c.ListText(); });
    if (!SelectItemInBox(box, renderer.currentCard)) {
        LRESULT count = SendMessageA(box, LB_GETCOUNT, 0, 0);
        if (count <= 0 || !SelectIndex(box, count - 1)) SelectIndex(box, 0);
    }
    return true;
}

bool FillModeBox(HWND box, const DisplayCard& card) {
    if (!box) return false;
    FillBox(box, card.modes, [](const DisplayMode& m) { return m.label; });
    if (!SelectItemInBox(box, card.currentMode)) SelectIndex(box, 0);
    return true;
}

bool SelectItemInBox(HWND box, const void* object) {
    if (!box || !object) return false;
    LRESULT count = SendMessageA(box, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        if (SendMessageA(box, LB_GETITEMDATA, index, 0) == reinterpret_cast<LRESULT>(object)) {
            return SelectIndex(box, index);
        }
    }
    return false;
}

void* SelectedItem(HWND box) {
    if (!box) return nullptr;
    LRESULT index = SendMessageA(box, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return nullptr;
    LRESULT data = SendMessageA(box, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR) return nullptr;
    return reinterpret_cast<void*>(data);
}

}  // namespace velk
