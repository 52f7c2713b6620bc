// The headless rendering context: OpenGL through EGL on Mesa's surfaceless platform, drawing
// into a framebuffer object of a fixed size instead of a window. No display server is needed.
//
//   platform::offscreen::SetFramebufferSize(640, 480);
//   renderer.CreateContext(platform::offscreen::Device());  // format, context, framebuffer
//   ... frames ...
//   platform::offscreen::ReadFrame(pixels, width, height);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform::offscreen {

// Largest framebuffer side accepted, whatever the driver allows.
constexpr int kMaxFramebufferSide = 4096;

// The device context of the offscreen framebuffer, for ChoosePixelFormat and the rest.
DeviceContext Device();
// The size of the framebuffer the next context made current for the first time draws into;
// 800 x 600 unless set. Sides outside 1..kMaxFramebufferSide are refused.
bool SetFramebufferSize(int width, int height);
// Whether a context is current and bound to its complete framebuffer.
bool ReadyToDraw();
// The current context's framebuffer as 8-bit RGB rows, top row first (as a window shows it);
// false without a current context.
bool ReadFrame(std::vector<std::uint8_t>& rgb, int& width, int& height);
// Why the last failed step of choosing a format, creating or binding a context failed.
const std::string& LastError();
// Unbinds and deletes every context; the display stays ready for a later one.
void Shutdown();

}  // namespace platform::offscreen
