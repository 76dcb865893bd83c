#include "contacts/VCardReader.h"

#include <map>
#include <string>

#include "base/TextEncoding.h"
#include "contacts/ContactText.h"
#include "contacts/PhoneLabel.h"

namespace telvor::contacts {
namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

struct Parameter {
    std::string name;  // upper case
    std::string value;
};

struct ContentLine {
    std::string group;
    std::string name;  // upper case
    std::vector<Parameter> parameters;
    std::string_view value;

    std::string Get(std::string_view parameterName) const {
        for (const Parameter& p : parameters)
            if (p.name == parameterName) return p.value;
        return {};
    }
};

// Where the parameters end: the first ':' outside double quotes (npos when there is none).
std::size_t ValueColon(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ':' && !quoted) return i;
    }
    return std::string_view::npos;
}

Parameter ParameterOf(std::string_view text) {
    Parameter parameter;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        // 2.1 writes bare values: "TEL;CELL;QUOTED-PRINTABLE:".
        const std::string upper = Upper(TrimBlanks(text));
        const bool encoding = upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" ||
                              upper == "8BIT" || upper == "7BIT";
        parameter.name = encoding ? "ENCODING" : "TYPE";
        parameter.value = upper;
    } else {
        parameter.name = Upper(TrimBlanks(text.substr(0, equals)));
        for (char c : text.substr(equals + 1))
            if (c != '"') parameter.value.push_back(c);
    }
    return parameter;
}

bool ParseLine(std::string_view line, ContentLine& out) {
    const std::size_t colon = ValueColon(line);
    if (colon == std::string_view::npos) return false;
    const std::string_view head = line.substr(0, colon);
    out.value = line.substr(colon + 1);
    bool quoted = false;
    std::size_t start = 0;
    bool first = true;
    for (std::size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"') quoted = !quoted;
        if (i < head.size() && (head[i] != ';' || quoted)) continue;
        const std::string_view piece = head.substr(start, i - start);
        if (first) {
            const std::size_t dot = piece.rfind('.');
            if (dot != std::string_view::npos) out.group = Upper(piece.substr(0, dot));
            out.name = Upper(TrimBlanks(piece.substr(dot == std::string_view::npos ? 0 : dot + 1)));
            first = false;
        } else if (!piece.empty()) {
            out.parameters.push_back(ParameterOf(piece));
        }
        start = i + 1;
    }
    return true;
}

bool IsQuotedPrintable(std::string_view line) {
    const std::size_t colon = ValueColon(line);
    if (colon == std::string_view::npos) return false;
    return Upper(line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
}

std::string DecodeQuotedPrintable(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else if (!(text[i] == '=' && i + 1 == text.size())) {  // a last soft break
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

// The value's bytes as Windows-1252 text; nothing for binary (base64) values.
std::optional<std::string> DecodeValue(const ContentLine& line) {
    const std::string encoding = Upper(line.Get("ENCODING"));
    if (encoding == "B" || encoding == "BASE64") return std::nullopt;
    std::string bytes = encoding == "QUOTED-PRINTABLE" ? DecodeQuotedPrintable(line.value)
                                                       : std::string(line.value);
    const std::string charset = Upper(line.Get("CHARSET"));
    if (charset == "WINDOWS-1252" || charset == "CP1252") return bytes;
    if (charset == "ISO-8859-1" || charset == "ISO8859-1" || charset == "LATIN1") {
        // The same characters as Windows-1252 but for 0x80..0x9F, which are controls there.
        for (char& c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x80 && byte < 0xA0) c = '?';
        }
        return bytes;
    }
    if (charset == "UTF-8" || charset == "UTF8" || IsValidUtf8(bytes)) return Utf8ToCp1252(bytes);
    return bytes;
}

// Text with the escapes \\ \, \; \n \N resolved; a backslash before anything else stays.
std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == '\\' || next == ',' || next == ';')) {
            out.push_back(next);
            ++i;
        } else if (text[i] == '\\' && (next == 'n' || next == 'N')) {
            out.push_back('\n');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The components of a structured value (N, ORG), each unescaped.
std::vector<std::string> Components(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i + 1 < text.size() && text[i] == '\\') {
            ++i;  // the escaped character (a backslash at the very end escapes nothing)
        } else if (i == text.size() || text[i] == ';') {
            parts.push_back(Unescape(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return parts;
}

class CardBuilder {
  public:
    void Take(const ContentLine& line) {
        const bool wanted = line.name == "FN" || line.name == "N" || line.name == "ORG" ||
                            line.name == "TEL" || line.name == "X-ABLABEL";
        if (!wanted) return;
        const std::optional<std::string> value = DecodeValue(line);
        if (!value) return;
        if (line.name == "FN" && fn_.empty()) {
            fn_ = CleanName(Unescape(*value));
        } else if (line.name == "N" && n_.empty()) {
            const std::vector<std::string> parts = Components(*value);
            n_ = JoinNames(CleanName(parts.size() > 1 ? parts[1] : ""), CleanName(parts[0]));
        } else if (line.name == "ORG" && org_.empty()) {
            org_ = CleanName(Components(*value)[0]);
        } else if (line.name == "TEL") {
            std::string types;
            for (const Parameter& p : line.parameters)
                if (p.name == "TYPE") types += p.value + ",";
            tels_.push_back({line.group, Unescape(*value), PhoneLabelOfWords(types)});
        } else if (line.name == "X-ABLABEL" && !line.group.empty()) {
            labels_[line.group] = PhoneLabelOfCustom(Unescape(*value));
        }
    }

    Contact Finish() const {
        Contact contact;
        contact.name = !fn_.empty() ? fn_ : !n_.empty() ? n_ : org_;
        for (const Tel& tel : tels_) {
            ContactPhone phone{tel.text, tel.label};
            // A label the user gave the number says more than its type.
            const auto custom = tel.group.empty() ? labels_.end() : labels_.find(tel.group);
            if (custom != labels_.end() && !custom->second.empty()) phone.label = custom->second;
            contact.phones.push_back(std::move(phone));
        }
        return contact;
    }

  private:
    struct Tel {
        std::string group;
        std::string text;
        std::string label;
    };
    std::string fn_, n_, org_;
    std::vector<Tel> tels_;
    std::map<std::string, std::string> labels_;  // by group
};

class Reader {
  public:
    void Line(std::string_view physical) {
        if (pending_) {
            // 2.1 quoted-printable: '=' at the end is a soft line break (but a card's end is
            // never part of a value, however the line before it ends).
            if (quotedPrintable_ && logical_.ends_with('=') &&
                !Upper(physical.substr(0, 9)).starts_with("END:VCARD")) {
                logical_.pop_back();
                logical_.append(physical);
                return;
            }
            if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t')) {
                logical_.append(version21_ ? physical : physical.substr(1));
                return;
            }
            Flush();
        }
        logical_.assign(physical);
        pending_ = true;
        quotedPrintable_ = IsQuotedPrintable(physical);
    }

    std::optional<std::vector<Contact>> Finish() {
        if (pending_) Flush();
        if (depth_ > 0) contacts_.push_back(card_.Finish());
        if (!sawCard_) return std::nullopt;
        return std::move(contacts_);
    }

  private:
    void Flush() {
        pending_ = false;
        ContentLine line;
        if (!ParseLine(logical_, line)) return;
        const bool vcard = Upper(TrimBlanks(line.value)) == "VCARD";
        if (line.name == "BEGIN" && vcard) {
            sawCard_ = true;
            if (depth_++ == 0) {
                card_ = CardBuilder{};
                version21_ = false;
            }
        } else if (line.name == "END" && vcard) {
            if (depth_ == 1) contacts_.push_back(card_.Finish());
            if (depth_ > 0) --depth_;
        } else if (depth_ == 1) {
            if (line.name == "VERSION") version21_ = TrimBlanks(line.value) == "2.1";
            card_.Take(line);
        }
    }

    std::string logical_;
    bool pending_ = false;
    bool quotedPrintable_ = false;
    bool version21_ = false;
    bool sawCard_ = false;
    int depth_ = 0;
    CardBuilder card_;
    std::vector<Contact> contacts_;
};

}  // namespace

std::optional<std::vector<Contact>> ReadVCards(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    Reader reader;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        reader.Line(bytes.substr(start, end - start));
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return reader.Finish();
}

}  // namespace telvor::contacts
