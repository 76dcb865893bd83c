#pragma once
// Replacing the string-table IDs that form definitions carry as captions by their texts.
// The decision which control gets which treatment is made here, over an abstract control
// tree; the Windows layer only adapts real windows to LocalizeTarget.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

// The classes of the localisation rules, tested in this order for each control.
enum class ControlClass {
    Form,
    PageControl,
    TabSheet,
    GroupBox,
    RadioGroup,
    PushButton,
    Label,
    Panel,
    CheckBox,
    DateSortListView,
    SortListView,
    Memo,
    RadioButton,
    Other,  // edit fields, up-down buttons, images, plain list views: left alone
};

enum class CaptionRule { Keep, Replace, PerLine };

struct LocalizeRule {
    CaptionRule caption = CaptionRule::Keep;
    bool columns = false;   // replace the caption of every column
    bool children = false;  // then visit the children in their order
};

LocalizeRule RuleFor(ControlClass cls);

// Reads a caption as a string-table ID: optional blanks, an optional sign, decimal digits,
// optional blanks; nothing else, and within the range of int.
std::optional<int> ParseCaptionId(std::string_view caption);

// Outcome of a localisation: on failure `error` holds the conversion error text, formatted
// with the offending caption, and the form must not be created.
struct LocalizeResult {
    bool ok = true;
    std::string error;
};

// The text for one caption: the string-table text of the ID it holds, or the error.
LocalizeResult LocalizeCaption(std::string_view caption, std::string& text);

// Memo content: each line that reads as an ID as a whole becomes that ID's text; other
// lines stay. Lines are separated by CR LF (a lone LF is accepted and kept as such).
std::string LocalizeLines(std::string_view content);

// One control of a tree being localised.
class LocalizeTarget {
  public:
    virtual ~LocalizeTarget() = default;
    virtual ControlClass Class() const = 0;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual int ColumnCount() const { return 0; }
    virtual std::string ColumnCaption(int) const { return {}; }
    virtual void SetColumnCaption(int, const std::string&) {}
    // Calls `visit` for each child in order until it returns false; returns false then.
    virtual bool VisitChildren(const std::function<bool(LocalizeTarget&)>& visit) = 0;
};

// Walks `control` and its children by the class rules; stops at the first caption that is
// not an ID.
LocalizeResult LocalizeTree(LocalizeTarget& control);

// Top-level menu captions: each becomes its ID's text ("-" stands for a separator line).
// On failure the captions already done keep their texts.
LocalizeResult LocalizeMenuCaptions(std::vector<std::string>& captions);

}  // namespace telvor
