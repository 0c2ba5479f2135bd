// Operations on finished bitmaps: quarter turns and the cross-fade / overlay blend.
#pragma once

#include "device/pictures/device_bitmap.h"

namespace glimmora::device {

// Turn the bitmap 90 degrees counter-clockwise / clockwise in place. The record is left as
// it was when the turned bitmap cannot be made; orientation and fade state are kept.
void TurnLeft(DeviceBitmap& bitmap);
void TurnRight(DeviceBitmap& bitmap);

// Moves `destination` fadeIncrement tenths further toward `source` (centred on it, black
// outside it). True while a blend was applied; false once ten tenths are reached.
bool BlendStep(DeviceBitmap& destination, const DeviceBitmap& source);

}  // namespace glimmora::device
