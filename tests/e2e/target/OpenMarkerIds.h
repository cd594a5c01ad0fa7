// Where the open marker program records how it was started.
#pragma once

#define OPEN_MARKER_KEY "Software\\Ovelund Freeware\\Seekword E2E Marker"
#define OPEN_MARKER_VALUE "CommandLine"
