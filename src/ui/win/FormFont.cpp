#include "ui/win/FormFont.h"

#include <cstring>

namespace telvor {

namespace {

constexpr char kFace[] = "MS Sans Serif";

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled() {
    bool found = false;
    HDC dc = GetDC(nullptr);
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(query.lfFaceName, kFace);
    EnumFontFamiliesExA(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

LOGFONTA BaseFont() {
    LOGFONTA lf = {};
    if (FaceInstalled()) {
        HDC dc = GetDC(nullptr);
        lf.lfHeight = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
        ReleaseDC(nullptr, dc);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = ANSI_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        std::strcpy(lf.lfFaceName, kFace);
    } else {
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    return lf;
}

// Created on first use and deleted at the end of the run.
class FontPair {
  public:
    FontPair() {
        LOGFONTA lf = BaseFont();
        normal_ = CreateFontIndirectA(&lf);
        lf.lfWeight = FW_BOLD;
        bold_ = CreateFontIndirectA(&lf);
    }
    ~FontPair() {
        if (normal_) DeleteObject(normal_);
        if (bold_) DeleteObject(bold_);
    }
    FontPair(const FontPair&) = delete;
    FontPair& operator=(const FontPair&) = delete;
    HFONT Get(bool bold) const {
        HFONT f = bold ? bold_ : normal_;
        return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }

  private:
    HFONT normal_ = nullptr;
    HFONT bold_ = nullptr;
};

}  // namespace

HFONT FormFont(bool bold) {
    static const FontPair fonts;
    return fonts.Get(bold);
}

}  // namespace telvor
