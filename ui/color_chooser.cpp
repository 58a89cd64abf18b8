#include "ui/color_chooser.h"

namespace huevane::ui {

bool ColorChooser::ShowColor(HWND owner, SystemDialogs& dialogs) {
    CHOOSECOLORA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.rgbResult = color_;
    request.lpCustColors = customColors_.data();
    request.Flags = flags_;
    if (!dialogs.ChooseColorDialog(request)) {
        return false;
    }
    color_ = request.rgbResult;
    return true;
}

}  // namespace huevane::ui
