#include "ui/win/FormFont.h"

#include <cstring>

#include "base/win/CallbackGuard.h"
#include "base/win/Handles.h"

namespace telvor {

namespace {

constexpr char kFace[] = "MS Sans Serif";

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    return Guarded("font enumeration", 0, [found] {
        *reinterpret_cast<bool*>(found) = true;
        return 0;  // one is enough
    });
}

bool FaceInstalled() {
    bool found = false;
    const WindowDc screen(nullptr);
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(query.lfFaceName, kFace);
    EnumFontFamiliesExA(screen.get(), &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

LOGFONTA BaseFont() {
    LOGFONTA lf = {};
    if (FaceInstalled()) {
        const WindowDc screen(nullptr);
        lf.lfHeight = -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
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
        normal_.reset(CreateFontIndirectA(&lf));
        lf.lfWeight = FW_BOLD;
        bold_.reset(CreateFontIndirectA(&lf));
    }
    HFONT Get(bool bold) const {
        HFONT f = bold ? bold_.get() : normal_.get();
        return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }

  private:
    UniqueFont normal_;
    UniqueFont bold_;
};

}  // namespace

HFONT FormFont(bool bold) {
    static const FontPair fonts;
    return fonts.Get(bold);
}

}  // namespace telvor
