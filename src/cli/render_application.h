// The Qt application the drawing commands of zelkon-cli need for fonts, created on demand on
// the offscreen platform so that they run without a display.
#pragma once

namespace zelkon::cli {

/// Creates a QGuiApplication when none exists yet (setting QT_QPA_PLATFORM to "offscreen"
/// when it is unset); it lives until the program ends.
void EnsureGuiApplication();

}  // namespace zelkon::cli
