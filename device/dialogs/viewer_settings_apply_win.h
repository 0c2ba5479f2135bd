// What confirming the viewer settings dialog does: store Options, then bring the .jpg
// association in line with the request (take it over, give it back, or leave it).
#pragma once

#include <optional>
#include <string>

#include "device/association/association_win.h"
#include "device/settings/viewer_settings.h"

namespace glimmora::device::dialogs {

// `modulePath` is the program that takes the association over; `majorVersion` picks the
// platform defaults of a give-back.
void ApplyViewerSettings(const association::AssociationPlaces& places,
                         const ViewerSettingsControls& controls, const std::wstring& modulePath,
                         std::optional<unsigned long> majorVersion);

}  // namespace glimmora::device::dialogs
