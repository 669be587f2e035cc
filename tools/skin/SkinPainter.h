#pragma once
#include <QImage>

class QPainter;

#include "SkinSource.h"

namespace orv::skin {

enum class State { Normal, Over, Down };

// The colour the lighting preview shows in a colour-page picture.
enum class Light { Pink, Red, Purple, Blue, Dark };

enum class WindowPage { Main, Advanced, Color };

// A full page picture: the header, the page and every region drawn in one state.
QImage PaintWindowPage(WindowPage page, State state, Light light = Light::Pink);

// Dark where the window is kept, white where it is cut away.
QImage PaintWindowMask();
QImage PaintWarningMask();

// The function menu (10 rows) and its sub-menu (12 rows); the mask only gives their size.
QImage PaintMenu(State state);
QImage PaintSubMenu(State state);
QImage PaintMenuMask();
QImage PaintSubMenuMask();

QImage PaintWarning(State state);

// The program's icon in a square of size pixels, on a transparent ground: window, notification
// area, menus, About box and executable all show it.
void PaintProgramIcon(QPainter& p, int size);

}  // namespace orv::skin
