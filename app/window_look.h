// The window's colours: light text on dark controls, in keeping with the map, and the red
// "Loading..." notice.
#pragma once

#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace zen {

QPalette DarkPalette();
// Pages and the side panel are filled with the panel colour behind their controls.
void FillWithPanelColour(QWidget* widget);
// The hidden "Loading..." notice: a red panel with its caption in a 19-pixel face.
QLabel* MakeLoadingNotice(QWidget* window, const QRect& area);

}  // namespace zen
