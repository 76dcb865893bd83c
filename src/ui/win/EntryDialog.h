#pragma once
// TEditDbEntry: the entry dialog for one caller or MSN. Created hidden at start-up and kept
// for the whole run; its editing pages arrive with the configuration dialog's lists.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/win/Form.h"

namespace telvor {

class TEditDbEntry {
  public:
    static std::unique_ptr<TEditDbEntry> Create(HWND owner, std::string& error);
    HWND Handle() const { return form_->Handle(); }

  private:
    std::unique_ptr<Form> form_;
};

}  // namespace telvor
