#pragma once
#include <QImage>

class QPainter;

#include "SkinSource.h"

namespace orv::skin {

enum class State { Normal, Over, Down };

// The colour the lighting preview shows in a colour-page picture.
enum class Light { Pink, Red, Purple, Blue, Dark };

enum class WindowPage { Main, Advanced, Color };

// Every picture is drawn from the layout's coordinates with scale device pixels to each of
// them: 1 for the pictures every skin has, 2 for their NAME@2x versions on dense screens.

// A full page picture: the header, the page and every region drawn in one state.
QImage PaintWindowPage(WindowPage page, State state, Light light, int scale);

// Dark where the window is kept, white where it is cut away.
QImage PaintWindowMask(int scale);
QImage PaintWarningMask(int scale);

// The function menu (10 rows) and its sub-menu (12 rows); the mask only gives their size.
QImage PaintMenu(State state, int scale);
QImage PaintSubMenu(State state, int scale);
QImage PaintMenuMask(int scale);
QImage PaintSubMenuMask(int scale);

QImage PaintWarning(State state, int scale);

// The program's icon in a square of size pixels, on a transparent ground: window, notification
// area, menus, About box and executable all show it.
void PaintProgramIcon(QPainter& p, int size);

}  // namespace orv::skin
