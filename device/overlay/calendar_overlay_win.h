// The month calendar with its clock, blended over the picture at the screen's bottom-right
// corner. The calendar is rendered once into its own bitmap; frames blend that bitmap and
// the clock strip is redrawn from it, so repeated updates never darken.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "device/pictures/device_bitmap.h"

namespace glimmora::device::overlay {

// The picture on screen and the picture pixel at the window's top-left corner.
struct PictureView {
    DeviceBitmap* picture = nullptr;
    std::int32_t panX = 0;
    std::int32_t panY = 0;
};

// The size of "27" in the 8-point face on the screen; a third of its width is the margin
// every overlay keeps.
SIZE MeasureDayCell();

// With no bitmap only measures; with one (already made at the measured size) also paints.
SIZE RenderCalendar(DeviceBitmap* bitmap);

class CalendarOverlay {
  public:
    bool enabled = false;  // the ShowCalendar setting is in force
    bool shown = false;    // drawn and not removed since
    SYSTEMTIME shownTime{};
    std::unique_ptr<DeviceBitmap> bitmap;  // the unblended calendar, clock area empty

    // A fresh calendar bitmap for today.
    void Rebuild();
    // Puts calendar and clock on `dc`, a frame in window coordinates.
    void DrawOverlay(HWND window, HDC dc, const PictureView& view);
    // The clock over the calendar's top rows, blended with the picture behind it.
    void DrawClockStrip(HWND window, HDC dc, const PictureView& view);
    // Takes the calendar off the screen at the next paint of its area.
    void Hide(HWND window);
    // The clock timer's work: the strip once a minute, the whole calendar once a day.
    void Tick(HWND window, const PictureView& view);
    // Frees the calendar without touching the screen.
    void Drop();

  private:
    RECT ClientRectOfCalendar(HWND window) const;
};

}  // namespace glimmora::device::overlay
