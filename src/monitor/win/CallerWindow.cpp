#include "monitor/win/CallerWindow.h"

#include <utility>
#include <vector>

#include "base/StringTable.h"
#include "base/win/CallbackGuard.h"
#include "monitor/Cascade.h"
#include "ui/win/Form.h"
#include "ui/win/MessageDialogs.h"
#include "ui/win/Resources.h"

namespace telvor {

namespace {

constexpr unsigned kClearedStatusId = 20009;   // "Anruf angenommen oder getrennt"
constexpr unsigned kClearedTitleId = 20010;    // " - getrennt"
constexpr unsigned kRejectQuestionId = 20028;  // "Wollen Sie '%s' (%s) wirklich abweisen?"

// Value labels show data: an ampersand in a name is a character, not a mnemonic.
constexpr unsigned kValue = kNoPrefix;

}  // namespace

FormDef CallerFormDef() {
    FormDef def{"CallerForm", "3001"};
    def.left = kCallerWindowPosition.left;
    def.top = kCallerWindowPosition.top;
    def.clientWidth = 308;
    def.clientHeight = 207;
    def.dialog = true;
    // Fixed single border without sizing, system menu and the context help button.
    def.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    def.exStyle = WS_EX_CONTEXTHELP;
    def.placement = FormPlacement::Designed;
    using K = ControlKind;
    // One row per control, as laid out on the form.
    // clang-format off
    def.controls = {
        {.kind = K::Label, .name = "Label2", .left = 8, .top = 8, .caption = "3004"},
        {.kind = K::Label, .name = "NameL", .left = 112, .top = 8, .width = 185, .height = 30,
         .caption = "3010", .flags = kBold | kValue | kWordWrap},
        {.kind = K::Label, .name = "Label4", .left = 8, .top = 40, .caption = "3005"},
        {.kind = K::Label, .name = "CallingL", .left = 112, .top = 40, .caption = "3010",
         .flags = kBold | kValue},
        {.kind = K::Label, .name = "Nummer2", .left = 152, .top = 48, .caption = "3010",
         .flags = kHidden | kValue},
        {.kind = K::Label, .name = "Label6", .left = 8, .top = 64, .caption = "3002"},
        {.kind = K::Label, .name = "TownL", .left = 112, .top = 64, .caption = "3010",
         .flags = kValue},
        {.kind = K::Label, .name = "Label1", .left = 8, .top = 88, .caption = "3007"},
        {.kind = K::Label, .name = "CalledL", .left = 112, .top = 88, .caption = "3010",
         .flags = kValue},
        {.kind = K::Label, .name = "Label5", .left = 8, .top = 112, .caption = "3003"},
        {.kind = K::Label, .name = "TimeL", .left = 112, .top = 112, .caption = "3010",
         .flags = kValue},
        {.kind = K::Label, .name = "Label3", .left = 8, .top = 136, .caption = "3006"},
        {.kind = K::Label, .name = "ServiceL", .left = 112, .top = 136, .caption = "3010",
         .flags = kValue},
        {.kind = K::Label, .name = "GetrenntL", .left = 9, .top = 160, .caption = "3010",
         .flags = kBold | kValue},
        {.kind = K::Button, .name = "AbweisenB", .left = 232, .top = 48, .width = 75,
         .height = 25, .caption = "3011", .helpContext = 1312, .tabOrder = 1,
         .flags = kDisabled},  // enabled only while the call is held
        {.kind = K::Button, .name = "DatenbankB", .left = 232, .top = 76, .width = 75,
         .height = 25, .caption = "3008", .helpContext = 2001, .tabOrder = 2,
         .flags = kHidden},
        {.kind = K::Button, .name = "CloseB", .left = 97, .top = 176, .width = 113,
         .height = 25, .caption = "3009", .helpContext = 2000, .tabOrder = 0,
         .flags = kDefault | kCancel},
    };
    // clang-format on
    return def;
}

namespace {

// Forms whose window is gone but whose object may still be on the stack (a form freed from
// inside its own handler). They are deleted when the message loop next dispatches a timer.
std::vector<std::unique_ptr<Form>>& RetiredForms() {
    static std::vector<std::unique_ptr<Form>> forms;
    return forms;
}

void CALLBACK FreeRetiredForms(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Guarded("caller window clean-up", [] {
        std::vector<std::unique_ptr<Form>> forms = std::move(RetiredForms());
        RetiredForms().clear();
    });
}

void Retire(std::unique_ptr<Form> form) {
    if (!form) return;
    form->Destroy();
    RetiredForms().push_back(std::move(form));
    SetTimer(nullptr, 0, 0, FreeRetiredForms);
}

}  // namespace

std::unique_ptr<TCallerForm> TCallerForm::Create(HWND owner, const CallerLabels& labels,
                                                 std::span<const int> listedTops) {
    FormResult created = Form::Create(CallerFormDef(), owner);
    if (!created.form) return nullptr;
    auto self = std::make_unique<TCallerForm>(Key{});
    self->form_ = std::move(created.form);
    Form& form = *self->form_;
    form.SetIconResource(IDI_CALLERFORM);

    const WindowPosition pos =
        CascadeCallerWindow(listedTops, kCallerWindowPosition, GetSystemMetrics(SM_CYCAPTION));
    SetWindowPos(form.Handle(), nullptr, pos.left, pos.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    form.SetText("CallingL", labels.number);
    form.SetText("Nummer2", labels.hiddenNumber);
    form.SetText("CalledL", labels.msn);
    form.SetText("ServiceL", labels.service);
    form.SetText("NameL", labels.name);
    form.SetText("TimeL", labels.dateTime);
    form.SetText("TownL", labels.town);
    form.SetVisible("DatenbankB", labels.databaseButton);
    self->Wire();
    return self;
}

void TCallerForm::Wire() {
    Form& form = *form_;
    form.OnClick("CloseB", [this] { CloseBClick(); });
    form.OnClick("AbweisenB", [this] { AbweisenBClick(); });
    form.OnClick("DatenbankB", [this] { DatenbankBClick(); });
    form.OnTimer(kCallerCloseTimer, [this] { TimerTimer(); });
}

TCallerForm::~TCallerForm() {
    *alive_ = false;
    Retire(std::move(form_));
}

void TCallerForm::StartAutoClose(UINT milliseconds) {
    // An interval of 0 leaves the timer off, as a timer of interval 0 has always been: the
    // window then stays until the user closes it.
    if (closed_ || !form_ || milliseconds == 0) return;
    form_->StartTimer(kCallerCloseTimer, milliseconds);
}

void TCallerForm::Show(std::int32_t plci) {
    plci_ = plci;
    if (closed_ || !form_) return;
    form_->Show();
    HWND hwnd = form_->Handle();
    SetForegroundWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TCallerForm::EnableReject(bool enabled) {
    if (form_) form_->SetEnabled("AbweisenB", enabled);
}

void TCallerForm::MarkCallCleared() {
    if (!form_) return;
    form_->SetText("GetrenntL", LoadStr(kClearedStatusId));
    form_->SetText("", form_->Text("") + LoadStr(kClearedTitleId));
}

void TCallerForm::Close() {
    if (closed_ || !form_) return;
    closed_ = true;
    form_->StopTimer(kCallerCloseTimer);
    form_->Hide();
    // The owner usually frees this object from inside the callback.
    const std::weak_ptr<bool> alive = alive_;
    if (const auto closed = OnClosed) closed(*this);
    if (alive.expired()) return;
    Retire(std::move(form_));
}

HWND TCallerForm::Handle() const {
    return form_ ? form_->Handle() : nullptr;
}

int TCallerForm::Top() const {
    RECT r = {};
    if (!form_ || !GetWindowRect(form_->Handle(), &r)) return kCallerWindowPosition.top;
    return r.top;
}

void TCallerForm::CloseBClick() {
    Close();
}

void TCallerForm::TimerTimer() {
    Close();
}

void TCallerForm::AbweisenBClick() {
    // A click message can reach a disabled button (BM_CLICK is sent regardless): nothing is
    // rejected unless the call is held.
    if (closed_ || !form_ || !IsWindowEnabled(form_->Control("AbweisenB"))) return;
    const std::string question =
        FormatStr(kRejectQuestionId, {form_->Text("NameL"), form_->Text("CallingL")});
    const std::weak_ptr<bool> alive = alive_;
    const bool yes = Confirm(question, form_->Handle());
    // While the question was open the window may have been closed, or the call cleared
    // elsewhere (the disconnect handler disables the button): then there is nothing to reject.
    if (!yes || alive.expired() || closed_ || !form_ ||
        !IsWindowEnabled(form_->Control("AbweisenB")))
        return;
    if (const auto reject = OnReject) reject(plci_);
}

void TCallerForm::DatenbankBClick() {
    if (closed_ || !form_) return;
    const std::string number = form_->Text("Nummer2");
    const std::weak_ptr<bool> alive = alive_;
    if (const auto add = OnDatabase) add(number);
    if (alive.expired()) return;
    Close();
}

}  // namespace telvor
