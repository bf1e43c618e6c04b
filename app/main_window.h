// The main window's own fixed values: caption, size, colours and skin.
#pragma once

#include <string_view>

#include "app/controls.h"

namespace morvane {

// The maker's web address, a bare host name. Set at build time by the
// MORVANE_AUTHOR_SITE cache variable so a packager can put the real one in.
inline constexpr char kAuthorSiteAddress[] = MORVANE_AUTHOR_SITE;
// "Morvane", two spaces, the author's address.
inline constexpr char kWindowCaption[] = "Morvane  " MORVANE_AUTHOR_SITE;

// Outer size, frame and caption bar included.
inline constexpr int kWindowWidth = 457;
inline constexpr int kCollapsedHeight = 187;
inline constexpr int kExpandedHeight = 370;
inline constexpr int kMaxWindowHeight = 32627;

inline constexpr Rgb kBackground{236, 236, 236};

// The control skin's frame colour for styles 1, 2 and 3; other styles have
// no skin.
constexpr bool SkinStyleIsOn(int style) { return style >= 1 && style <= 3; }
constexpr Rgb SkinFrameColor(int style) {
  switch (style) {
    case 1:
      return {123, 158, 189};
    case 3:
      return {198, 197, 215};
    default:
      return {164, 185, 127};
  }
}
inline constexpr int kSkinStyle = 2;

}  // namespace morvane
