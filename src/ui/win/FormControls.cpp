// A form's controls by name: finding them, reading and setting them, wiring their handlers.
#include <windows.h>
// The common controls need the declarations of windows.h before them.
#include <commctrl.h>
#include <stdexcept>

#include "ui/win/Form.h"
#include "ui/win/WindowText.h"

namespace telvor {

// --- lookup --------------------------------------------------------------------------------

const Form::ControlInfo* Form::Find(std::string_view name) const {
    for (const ControlInfo& info : controls_)
        if (info.name == name) return &info;
    return nullptr;
}

const Form::ControlInfo& Form::Require(std::string_view name) const {
    if (const ControlInfo* info = Find(name)) return *info;
    throw std::logic_error("form " + name_ + " has no control " + std::string(name));
}

const Form::ControlInfo* Form::FindById(int id) const {
    for (const ControlInfo& info : controls_) {
        if (info.id == id) return &info;
        for (HWND button : info.buttons)
            if (GetDlgCtrlID(button) == id) return &info;  // a radio group's item
    }
    return nullptr;
}

const Form::ControlInfo* Form::FindByHwnd(HWND hwnd) const {
    for (const ControlInfo& info : controls_)
        if (info.hwnd == hwnd) return &info;
    return nullptr;
}

// --- reading and setting -------------------------------------------------------------------

HWND Form::Control(std::string_view name) const {
    const ControlInfo* info = Find(name);
    return info ? info->hwnd : nullptr;
}

int Form::ControlId(std::string_view name) const {
    return Require(name).id;
}

std::string Form::Text(std::string_view name) const {
    if (name.empty()) return hwnd_ ? WindowText(hwnd_) : std::string();
    return WindowText(Require(name).hwnd);
}

void Form::SetText(std::string_view name, const std::string& text) {
    if (name.empty()) {
        if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
        return;
    }
    const ControlInfo& info = Require(name);
    SetWindowTextA(info.hwnd, text.c_str());
    AutoSize(info);
}

void Form::SetVisible(std::string_view name, bool visible) {
    ShowWindow(Require(name).hwnd, visible ? SW_SHOW : SW_HIDE);
}

void Form::SetEnabled(std::string_view name, bool enabled) {
    EnableWindow(Require(name).hwnd, enabled);
}

bool Form::Checked(std::string_view name) const {
    return SendMessageA(Require(name).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(std::string_view name, bool checked) {
    SendMessageA(Require(name).hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Form::ItemIndex(std::string_view radioGroup) const {
    const ControlInfo& info = Require(radioGroup);
    for (std::size_t i = 0; i < info.buttons.size(); ++i)
        if (SendMessageA(info.buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
            return static_cast<int>(i);
    return -1;
}

void Form::SetItemIndex(std::string_view radioGroup, int index) {
    const ControlInfo& info = Require(radioGroup);
    for (std::size_t i = 0; i < info.buttons.size(); ++i)
        SendMessageA(info.buttons[i], BM_SETCHECK,
                     static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::SelectPage(std::string_view pageControl, int index) {
    const ControlInfo& info = Require(pageControl);
    if (info.kind != ControlKind::PageControl) return;
    SendMessageA(info.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowSelectedSheet(info.hwnd);
}

int Form::PageIndex(std::string_view pageControl) const {
    return static_cast<int>(SendMessageA(Require(pageControl).hwnd, TCM_GETCURSEL, 0, 0));
}

// --- handlers ------------------------------------------------------------------------------

void Form::OnClick(std::string_view name, std::function<void()> handler) {
    commands_[{Require(name).id, BN_CLICKED}] = std::move(handler);
}

void Form::OnChange(std::string_view name, std::function<void()> handler) {
    commands_[{Require(name).id, EN_CHANGE}] = std::move(handler);
}

void Form::OnNotify(std::string_view name, UINT code, std::function<LRESULT(NMHDR&)> handler) {
    notifies_[{Require(name).id, code}] = std::move(handler);
}

void Form::OnTimer(UINT_PTR id, std::function<void()> handler) {
    timers_[id] = std::move(handler);
}

void Form::OnClose(std::function<void()> handler) {
    onClose_ = std::move(handler);
}

void Form::OnDestroy(std::function<void()> handler) {
    onDestroy_ = std::move(handler);
}

void Form::OnMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler) {
    messages_[message] = std::move(handler);
}

void Form::StartTimer(UINT_PTR id, UINT milliseconds) {
    if (hwnd_) SetTimer(hwnd_, id, milliseconds, nullptr);
}

void Form::StopTimer(UINT_PTR id) {
    if (hwnd_) KillTimer(hwnd_, id);
}

void Form::Click(std::string_view name) {
    const ControlInfo& info = Require(name);
    if (IsWindowEnabled(info.hwnd)) HandleCommand(info.id, BN_CLICKED);
}

}  // namespace telvor
