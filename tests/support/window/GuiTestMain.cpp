#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

#include "Accessibility.h"
#include "TestFiles.h"
#include "TestPalette.h"
#include "WindowStyle.h"

// Window tests need one QApplication for the whole run; the platform comes from
// QT_QPA_PLATFORM (offscreen under ctest). The windows get the style the editor sets up at
// start-up, over a dark desktop palette when BREVANTA_TEST_PALETTE=dark asks for one. Like
// every test program, they keep pilot versions in a state folder of their own.
int main(int argc, char** argv) {
    const testing_support::StateFolder state;
    QApplication app(argc, argv);
    if (qgetenv("BREVANTA_TEST_PALETTE") == QByteArrayLiteral("dark")) {
        QApplication::setPalette(testing_support::darkPalette());
    }
    ui::useFixedStyle();
    ui::nameListsByPurpose();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
