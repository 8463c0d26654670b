// The one map from the toolkit's cursors to Qt's shapes, for controls and for the screen alike.

#include "toolkit/qt/QtWidgets.h"

Qt::CursorShape ToCursorShape(TCursor Cursor) {
  switch (Cursor) {
    case crNone:
      return Qt::BlankCursor;
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeNESW:
      return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
      return Qt::SizeVerCursor;
    case crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
      return Qt::SizeHorCursor;
    case crUpArrow:
      return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
      return Qt::WaitCursor;
    case crAppStart:
      return Qt::BusyCursor;
    case crNo:
    case crNoDrop:
      return Qt::ForbiddenCursor;
    case crHelp:
      return Qt::WhatsThisCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    case crDrag:
    case crMultiDrag:
      return Qt::DragMoveCursor;
    default:
      return Qt::ArrowCursor;
  }
}
