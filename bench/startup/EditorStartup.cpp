// The editor program as the desktop starts it, up to its first painted window with the
// pilot named on the command line.
#include "EditorStart.h"
#include "FirstPaint.h"

int main(int argc, char* argv[]) {
    return app::runEditor(argc, argv, paintAndQuit);
}
