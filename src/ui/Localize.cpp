#include "ui/Localize.h"

#include <climits>

#include "base/StringTable.h"

namespace telvor {

LocalizeRule RuleFor(ControlClass cls) {
    switch (cls) {
        case ControlClass::Form:
        case ControlClass::TabSheet:
        case ControlClass::GroupBox:
        case ControlClass::RadioGroup:
        case ControlClass::Panel:
            return {CaptionRule::Replace, false, true};
        case ControlClass::PageControl:
            return {CaptionRule::Keep, false, true};
        case ControlClass::PushButton:
        case ControlClass::Label:
        case ControlClass::CheckBox:
        case ControlClass::RadioButton:
            return {CaptionRule::Replace, false, false};
        case ControlClass::DateSortListView:
        case ControlClass::SortListView:
            return {CaptionRule::Keep, true, false};
        case ControlClass::Memo:
            return {CaptionRule::PerLine, false, false};
        case ControlClass::Other:
            break;
    }
    return {};
}

std::optional<int> ParseCaptionId(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t digitsFrom = i;
    long long value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
        ++i;
    }
    if (i == digitsFrom) return std::nullopt;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i != s.size()) return std::nullopt;
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

LocalizeResult LocalizeCaption(std::string_view caption, std::string& text) {
    const auto id = ParseCaptionId(caption);
    if (!id) return {false, FormatStr(kInvalidIntegerId, {caption})};
    // A negative ID has no entry and so gives the empty text, like any other missing one.
    text = *id < 0 ? std::string() : LoadStr(static_cast<unsigned>(*id));
    return {};
}

std::string LocalizeLines(std::string_view content) {
    std::string out;
    out.reserve(content.size());
    std::size_t start = 0;
    while (start <= content.size()) {
        std::size_t end = content.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = content.size();
        std::size_t lineEnd = end;
        if (!last && lineEnd > start && content[lineEnd - 1] == '\r') --lineEnd;
        const std::string_view line = content.substr(start, lineEnd - start);
        const auto id = ParseCaptionId(line);
        if (id)
            out += *id < 0 ? std::string() : LoadStr(static_cast<unsigned>(*id));
        else
            out += line;
        out += content.substr(lineEnd, end - lineEnd);  // the CR, if any
        if (last) break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

LocalizeResult LocalizeTree(LocalizeTarget& control) {
    const LocalizeRule rule = RuleFor(control.Class());
    if (rule.caption == CaptionRule::Replace) {
        std::string text;
        LocalizeResult r = LocalizeCaption(control.Caption(), text);
        if (!r.ok) return r;
        control.SetCaption(text);
    } else if (rule.caption == CaptionRule::PerLine) {
        control.SetCaption(LocalizeLines(control.Caption()));
    }
    if (rule.columns) {
        const int n = control.ColumnCount();
        for (int c = 0; c < n; ++c) {
            std::string text;
            LocalizeResult r = LocalizeCaption(control.ColumnCaption(c), text);
            if (!r.ok) return r;
            control.SetColumnCaption(c, text);
        }
    }
    LocalizeResult result;
    if (rule.children) {
        control.VisitChildren([&](LocalizeTarget& child) {
            result = LocalizeTree(child);
            return result.ok;
        });
    }
    return result;
}

LocalizeResult LocalizeMenuCaptions(std::vector<std::string>& captions) {
    for (std::string& caption : captions) {
        std::string text;
        LocalizeResult r = LocalizeCaption(caption, text);
        if (!r.ok) return r;
        caption = std::move(text);
    }
    return {};
}

}  // namespace telvor
