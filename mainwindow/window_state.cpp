#include "mainwindow/window_state.h"

namespace tarvo::mainwindow {

Side FromSide(WindowTexts& t, SessionValues& session) {
  return {t.fromSystem,
          t.fromZone,
          t.fromEast,
          t.fromNorth,
          t.fromHeight,
          t.fromLatitude,
          t.fromLongitude,
          t.fromConvergence,
          t.fromScaleFactor,
          t.fromLabel1,
          t.fromLabel2,
          t.fromLabel3,
          t.fromGridLabel,
          t.fromDatumLabel,
          session.fromDisplay,
          "Ellips.Ht(optional)",
          3};
}

Side ToSide(WindowTexts& t, SessionValues& session) {
  return {t.toSystem,    t.toZone,        t.toEast,          t.toNorth,   t.toHeight, t.toLatitude,
          t.toLongitude, t.toConvergence, t.toScaleFactor,   t.toLabel1,  t.toLabel2, t.toLabel3,
          t.toGridLabel, t.toDatumLabel,  session.toDisplay, "Ellips.Ht", 4};
}

}  // namespace tarvo::mainwindow
