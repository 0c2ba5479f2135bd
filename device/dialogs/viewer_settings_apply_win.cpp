#include "device/dialogs/viewer_settings_apply_win.h"

#include "device/association/association_rules.h"
#include "device/settings/viewer_settings_win.h"

namespace glimmora::device::dialogs {

void ApplyViewerSettings(const association::AssociationPlaces& places,
                         const ViewerSettingsControls& controls, const std::wstring& modulePath,
                         std::optional<unsigned long> majorVersion) {
    // A key that cannot be opened counts as no association in force.
    const bool inForce = SaveOptionsValue(places.settings, OptionsFromControls(controls));
    switch (association::ReconcileAssociation(controls.associateJpeg, inForce)) {
        case association::AssociationAction::TakeOver:
            association::TakeOverAssociation(places, modulePath);
            break;
        case association::AssociationAction::GiveBack:
            association::GiveBackAssociation(places, majorVersion);
            break;
        case association::AssociationAction::None: break;
    }
}

}  // namespace glimmora::device::dialogs
