// A cmd.exe that someone left where a search for "cmd" would find it first: it only tells that it ran.
#include "planted/planted_marker.h"

int wmain() {
  LeavePlantedMarker("planted cmd.exe ran");
  return 0;
}
