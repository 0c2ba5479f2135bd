// Where the settings dialog draws its "Options" heading above the orientation list: the text
// in a band ending 5 pixels above the list, and a line from just after the text to the
// client area's right edge, 8 pixels above the list.
#pragma once

namespace glimmora::device::dialogs {

struct HeadingLayout {
    // The band the text is centred in vertically (left, top, right, bottom), in pixels.
    int textLeft, textTop, textRight, textBottom;
    int lineY, lineFromX, lineToX;  // lineToX is exclusive, as GDI draws lines
};

HeadingLayout LayOutOptionsHeading(int listTop, int textWidth, int textHeight, int clientRight);

}  // namespace glimmora::device::dialogs
