#pragma once
// A form created at run time from its FormDef, localised, with its handlers looked up by
// control and event. Forms are made of standard controls only, so every text is readable
// with WM_GETTEXT.
//
// A form file is then its table and its handlers:
//   FormResult r = Form::Create(kCallerFormDef, owner);
//   if (!r.form) { ShowError(r.error, owner); return; }
//   r.form->OnClick("CloseB", [this] { CloseBClick(); });
//   r.form->Show();
// The program's message loop passes every message to Form::PreTranslate first, so that
// Tab, Enter, Esc and mnemonics work in modeless forms too.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/win/Handles.h"
#include "ui/win/FormDef.h"

namespace telvor {

class Form;

// Outcome of creating a form: the form, or the reason it was not created (the conversion
// error of a caption that is not an ID). The caller shows `error` in an error box.
struct FormResult {
    std::unique_ptr<Form> form;
    std::string error;
};

class Form {
    struct Key {
        explicit Key() = default;
    };

  public:
    explicit Form(Key) {}
    // Creates the window hidden, its controls, the font, then localises it. `owner` may be
    // nullptr (a form shown before any other window exists).
    static FormResult Create(const FormDef& def, HWND owner = nullptr);

    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND Handle() const { return hwnd_; }
    const std::string& Name() const { return name_; }
    // The control of that name, or nullptr: the one lookup that may ask for a name the form
    // does not have.
    HWND Control(std::string_view name) const;
    // The functions below that take a control's name throw std::logic_error ("form X has no
    // control Y") for a name the form does not have: a misspelt name in a form file shows up
    // the first time the form is built and wired, not as a handler that never runs. An empty
    // name means the form itself where the comment says so.
    int ControlId(std::string_view name) const;

    std::string Text(std::string_view name) const;
    // Sets a control's text (labels without a fixed size are resized to it). An empty
    // name means the form's own caption.
    void SetText(std::string_view name, const std::string& text);
    void SetVisible(std::string_view name, bool visible);
    void SetEnabled(std::string_view name, bool enabled);
    bool Checked(std::string_view name) const;
    void SetChecked(std::string_view name, bool checked);
    // The selected button of a radio group, -1 for none; its item strings are left as
    // defined (only the index is meant to be read).
    int ItemIndex(std::string_view radioGroup) const;
    void SetItemIndex(std::string_view radioGroup, int index);
    void SelectPage(std::string_view pageControl, int index);
    int PageIndex(std::string_view pageControl) const;

    // Handlers; a handler replaces the previous one of the same control and event. What a
    // handler throws ends its operation and is reported by the program's callback error
    // reporter (the error box with the error's text).
    void OnClick(std::string_view name, std::function<void()> handler);
    void OnChange(std::string_view name, std::function<void()> handler);
    void OnNotify(std::string_view name, UINT code, std::function<LRESULT(NMHDR&)> handler);
    void OnTimer(UINT_PTR id, std::function<void()> handler);
    // Close box, Alt+F4, WM_CLOSE; without a handler the cancel button is pressed, else a
    // modal form ends with IDCANCEL and a modeless one is destroyed.
    void OnClose(std::function<void()> handler);
    // Runs when the window is destroyed; the Form object must not be deleted from here.
    void OnDestroy(std::function<void()> handler);
    // Any other window message sent to the form itself.
    void OnMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);

    void StartTimer(UINT_PTR id, UINT milliseconds);
    void StopTimer(UINT_PTR id);

    // Presses a button as a click would (runs its handler if it is enabled).
    void Click(std::string_view name);

    // The window's icon from the program's resources; nothing when the program has none.
    void SetIconResource(int id);

    void Show();
    void Hide();
    void Destroy();
    // Shows the form modally: the owner is disabled until EndModal or the window's end.
    // Returns the value passed to EndModal (IDCANCEL if the window went away).
    INT_PTR ShowModal();
    void EndModal(INT_PTR result);
    bool IsModal() const { return modal_; }

    // For the program's message loop: lets the form under `msg` handle Tab, Enter, Esc and
    // mnemonics. Returns true when the message was consumed.
    static bool PreTranslate(MSG& msg);

  private:
    struct ControlInfo {
        std::string name;
        ControlKind kind;
        HWND hwnd;
        int id;
        bool autoSize;
        unsigned flags;
        int tabOrder;
        std::vector<HWND> buttons;  // radio group items
    };

    bool Build(const FormDef& def, HWND owner);
    bool CreateControl(const ControlDef& def, int id, std::string& error);
    // The control of that name; throws std::logic_error when the form has none.
    const ControlInfo& Require(std::string_view name) const;
    void OrderTabStops();
    void LayoutSheets();
    void ShowSelectedSheet(HWND pageControl);
    void FocusFirst();
    void AutoSize(const ControlInfo& info);
    const ControlInfo* Find(std::string_view name) const;
    const ControlInfo* FindById(int id) const;
    const ControlInfo* FindByHwnd(HWND hwnd) const;

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    // Returns true when handled, with the message result in `result`.
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void HandleCommand(int id, int code);
    void RequestClose();
    // The forms that exist, for PreTranslate; a form leaves the list with its window.
    static std::vector<Form*>& LiveForms();
    void Unlist();

    UniqueWindow window_;  // owns the window until it is destroyed
    HWND hwnd_ = nullptr;  // the window while it exists, until WM_NCDESTROY
    HWND owner_ = nullptr;
    bool dialog_ = false;
    bool modal_ = false;
    bool modalDone_ = false;
    INT_PTR modalResult_ = IDCANCEL;
    std::string name_;
    std::vector<ControlInfo> controls_;
    int defaultId_ = 0;
    int cancelId_ = 0;
    int nextItemId_ = 0;
    HWND lastFocus_ = nullptr;

    std::map<std::pair<int, UINT>, std::function<void()>> commands_;
    std::map<std::pair<int, UINT>, std::function<LRESULT(NMHDR&)>> notifies_;
    std::map<UINT_PTR, std::function<void()>> timers_;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> messages_;
    std::function<void()> onClose_;
    std::function<void()> onDestroy_;
};

}  // namespace telvor
