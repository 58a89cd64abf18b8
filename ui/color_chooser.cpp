#include "ui/color_chooser.h"

namespace huevane::ui {

void ColorChooser::ShowColor(HWND owner, SystemDialogs& dialogs) {
    CHOOSECOLORA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.rgbResult = color_;
    request.lpCustColors = customColors_.data();
    request.Flags = flags_;
    if (dialogs.ChooseColorDialog(request)) {
        color_ = request.rgbResult;
    }
}

}  // namespace huevane::ui
