#include "EditorStart.h"

int main(int argc, char* argv[]) {
    return app::runEditor(argc, argv);
}
