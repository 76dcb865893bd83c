#pragma once
// TAboutBox: the program information, one picture in a borderless window in the middle of the
// screen. Created hidden at start-up, shown modally; a click or any key closes it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "base/win/Handles.h"
#include "ui/win/Form.h"

namespace telvor {

class TAboutBox {
  public:
    static std::unique_ptr<TAboutBox> Create(HWND owner, std::string& error);

    // Runs around the modal showing: disable, then enable again, the callers' "about" commands
    // (the icon menu's item and the configuration dialog's "Inf&o..." button).
    std::function<void(bool enabled)> OnAboutCommandsEnabled;

    void ShowModal();
    HWND Handle() const { return form_->Handle(); }
    // Whether the picture was loaded from the program's resources.
    bool HasPicture() const { return static_cast<bool>(picture_); }

  private:
    std::unique_ptr<Form> form_;
    UniqueBitmap picture_;
};

}  // namespace telvor
