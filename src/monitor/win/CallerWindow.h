#pragma once
// TCallerForm: the small window that pops up for every shown call. It shows who calls, for
// which MSN, when and with which service; it can reject a held call and hand an unknown
// caller's number to the caller database. The main window owns the forms (one per call) and
// keeps the list of pending ones; a form only reports what happens to it through callbacks.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "monitor/CallPorts.h"
#include "ui/win/FormDef.h"

namespace telvor {

class Form;

// The window's form: labels, the reject, database and close buttons.
FormDef CallerFormDef();

class TCallerForm {
    struct Key {
        explicit Key() = default;
    };

  public:
    explicit TCallerForm(Key) {}

    // Creates the window hidden, owned by `owner`, at the designed position moved down and
    // right by the caption height while its top equals the top of one of the listed caller
    // windows (`listedTops`, in list order), localises it and fills its labels. Returns
    // nullptr when the window cannot be created.
    static std::unique_ptr<TCallerForm> Create(HWND owner, const CallerLabels& labels,
                                               std::span<const int> listedTops);

    // Frees the window. Safe from inside any of this form's callbacks: the window goes at
    // once, the rest of the object when the message loop next runs.
    ~TCallerForm();
    TCallerForm(const TCallerForm&) = delete;
    TCallerForm& operator=(const TCallerForm&) = delete;

    // Arms the auto-close timer; its first tick closes the form as the close button does.
    void StartAutoClose(UINT milliseconds);
    // Stores the call's PLCI, shows the window, brings it to the foreground and repaints it.
    void Show(std::int32_t plci);
    // "&Abweisen" is enabled only while the call is held.
    void EnableReject(bool enabled);
    // The call was cleared: status label 20009, title suffix 20010.
    void MarkCallCleared();
    // Closes the window as the close button does: OnClosed runs once, then the window is
    // destroyed. Closing never answers or clears the call. Further calls do nothing.
    void Close();

    HWND Handle() const;
    // The window's current top coordinate (the cascade compares only this).
    int Top() const;
    std::int32_t PLCI() const { return plci_; }
    bool Closed() const { return closed_; }

    // --- set by the owner ---
    // The form is closing (button, Enter, Esc, close box, timer, database button, Close).
    // The owner unlists it and frees it; it may destroy the TCallerForm right here. Handle()
    // is still valid during the call.
    std::function<void(TCallerForm&)> OnClosed;
    // The user confirmed the rejection: answer the call (CONNECT_RESP, Reject 0), then clear
    // it (DISCONNECT_REQ). The form stays open.
    std::function<void(std::int32_t plci)> OnReject;
    // "&Datenbank...": add this number (area code, blank, rest) to the caller database. The
    // form closes after the callback has returned.
    std::function<void(const std::string& number)> OnDatabase;

    // The handlers, named after control and event.
    void CloseBClick();
    void AbweisenBClick();
    void DatenbankBClick();
    void TimerTimer();

    // The underlying form, for the owner's message loop and for tests.
    Form* Window() const { return form_.get(); }

  private:
    void Wire();

    std::unique_ptr<Form> form_;
    std::int32_t plci_ = 0;
    bool closed_ = false;
    // Handlers that run a nested message loop (a question, the database dialog) check this
    // afterwards: the form may have been freed meanwhile.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The form's timer id.
inline constexpr UINT_PTR kCallerCloseTimer = 1;

}  // namespace telvor
