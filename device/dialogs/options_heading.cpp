#include "device/dialogs/options_heading.h"

namespace glimmora::device::dialogs {

HeadingLayout LayOutOptionsHeading(int listTop, int textWidth, int textHeight, int clientRight) {
    HeadingLayout layout{};
    layout.textLeft = 5;
    layout.textTop = listTop - textHeight - 5;
    layout.textRight = clientRight;
    layout.textBottom = listTop - 5;
    layout.lineY = listTop - 8;
    layout.lineFromX = textWidth + 7;
    layout.lineToX = clientRight;
    return layout;
}

}  // namespace glimmora::device::dialogs
