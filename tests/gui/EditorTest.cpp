#include "platform/qt/EditorApp.h"
#include "support/Screenshot.h"
#include "support/X11Windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace sw::test {
namespace {

// Runs the event loop until the condition holds or the time is up.
bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

QStringList menuBarTexts(const QMenuBar* bar) {
    QStringList texts;
    for (const QAction* action : bar->actions())
        texts << action->text();
    // The item drawn at the right end lives in a bar of its own in the corner.
    if (const auto* corner = qobject_cast<const QMenuBar*>(bar->cornerWidget(Qt::TopRightCorner)))
        texts << menuBarTexts(corner);
    return texts;
}

bool isBlack(QRgb pixel) {
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

TEST(Editor, StartsWithItsWindowsMenuAndGreyedControlPanel) {
    qt::EditorApp editor;
    ASSERT_TRUE(editor.start());
    qt::QtWindowSystem& windows = editor.windows();
    QWidget* main = windows.widget(Window::Main);
    ASSERT_TRUE(waitFor([main] { return main->isVisible() && main->windowHandle()->isExposed(); }));

    EXPECT_EQ(main->windowTitle(), "Skinweaver 1.1");
    EXPECT_EQ(windows.widget(Window::Controls)->windowTitle(), "Control Panel");
    EXPECT_TRUE(windows.widget(Window::Controls)->isVisible());
    EXPECT_EQ(windows.widget(Window::Options)->windowTitle(), "Preferences");
    EXPECT_FALSE(windows.widget(Window::Options)->isVisible());
    EXPECT_EQ(menuBarTexts(windows.menuBar()), (QStringList{"&File", "&Options", "&About..."}));

    const auto buttons = windows.widget(Window::Controls)->findChildren<QAbstractButton*>();
    EXPECT_EQ(buttons.size(), 23); // 20 push buttons and 3 radio buttons
    for (const QAbstractButton* button : buttons)
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    const auto* xy = qobject_cast<QAbstractButton*>(windows.widget(ControlId::AxisXY));
    ASSERT_NE(xy, nullptr);
    EXPECT_TRUE(xy->isChecked());

    // The view shows black where it is cleared; the windows around it do not.
    QWidget* view = windows.widget(ControlId::GlView);
    const QPoint viewCentre = view->mapToGlobal(view->rect().center());
    QImage screen;
    ASSERT_TRUE(waitFor([&] {
        screen = grabScreen();
        return isBlack(screen.pixel(viewCentre));
    }));
    const QPoint besideView = main->mapToGlobal(QPoint(main->width() - 3, main->height() - 3));
    EXPECT_FALSE(isBlack(screen.pixel(besideView)));
}

TEST(Editor, ClosingTheMainWindowEndsTheEventLoopWithZero) {
    qt::EditorApp editor;
    ASSERT_TRUE(editor.start());
    QWidget* main = editor.windows().widget(Window::Main);
    QTimer::singleShot(200, main, [main] { main->close(); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); }); // in case it never ends

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(editor.shell().state.currentModel, nullptr);
}

// The real program, as a user starts it: its windows come up, and closing the main window
// ends it with exit code 0. Leaves a screenshot of it beside the test program.
TEST(Editor, RealProgramStartsAndEndsWithZeroWhenItsMainWindowCloses) {
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(SW_SKINWEAVER_PROGRAM, QStringList{});
    ASSERT_TRUE(program.waitForStarted());

    const auto shown = [&program](const char* title) {
        const auto titles = shownWindowTitles(program.processId());
        return std::find(titles.begin(), titles.end(), title) != titles.end();
    };
    EXPECT_TRUE(waitFor([&] { return shown("Skinweaver 1.1") && shown("Control Panel"); }));
    EXPECT_FALSE(shown("Preferences"));
    QThread::msleep(500); // let it draw its first frame
    EXPECT_TRUE(saveScreenshot(QString(SW_GUI_OUTPUT_DIR) + "/skinweaver.png"));

    ASSERT_TRUE(closeWindowTitled(program.processId(), "Skinweaver 1.1"));
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
} // namespace sw::test

int main(int argc, char** argv) {
    // The editor keeps its preferences in the user's configuration; these runs keep theirs
    // apart (the real program started below inherits the setting).
    const QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    sw::qt::QtWindowSystem::setDefaultSurfaceFormat();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
