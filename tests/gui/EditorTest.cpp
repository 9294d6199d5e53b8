#include "gui/EditorApp.h"
#include "support/Screenshot.h"
#include "support/Wait.h"
#include "support/X11Windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QOpenGLWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace sw::test {
namespace {

QStringList menuBarTexts(const QMenuBar* bar) {
    QStringList texts;
    for (const QAction* action : bar->actions())
        texts << action->text();
    // The item drawn at the right end lives in a bar of its own in the corner.
    if (const auto* corner = qobject_cast<const QMenuBar*>(bar->cornerWidget(Qt::TopRightCorner)))
        texts << menuBarTexts(corner);
    return texts;
}

TEST(Editor, StartsWithItsWindowsMenuAndGreyedControlPanel) {
    gui::EditorApp editor;
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

const QString kSample = QString(SW_SAMPLES_DIR) + "/totem.3do";

// A key as the keyboard sends it to the main window: a modifier key (Shift or Control) goes
// down and up on its own around it, as it does on a real keyboard.
void typeKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = {}) {
    const auto send = [target](QEvent::Type type, int code, Qt::KeyboardModifiers held,
                               const QString& typed = {}) {
        QKeyEvent event(type, code, held, typed);
        QCoreApplication::sendEvent(target, &event);
    };
    const int modifierKey = modifiers.testFlag(Qt::ShiftModifier)     ? Qt::Key_Shift
                            : modifiers.testFlag(Qt::ControlModifier) ? Qt::Key_Control
                                                                      : 0;
    if (modifierKey != 0)
        send(QEvent::KeyPress, modifierKey, modifiers);
    send(QEvent::KeyPress, key, modifiers, text);
    send(QEvent::KeyRelease, key, modifiers, text);
    if (modifierKey != 0)
        send(QEvent::KeyRelease, modifierKey, Qt::NoModifier);
}

TEST(Editor, KeysMoveTheSampleAndTheResetButtonBringsItBack) {
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start(QFile::encodeName(kSample).toStdString()));
    qt::QtWindowSystem& windows = editor.windows();
    auto* main = qobject_cast<QMainWindow*>(windows.widget(Window::Main));
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(waitFor([main] { return main->isVisible() && main->windowHandle()->isExposed(); }));

    auto* view = qobject_cast<QOpenGLWidget*>(windows.widget(ControlId::GlView));
    ASSERT_NE(view, nullptr);
    const QImage fitted = view->grabFramebuffer();
    expectTexturedMiddle(fitted, fitted.rect().center());

    QWidget* keys = main->centralWidget();
    typeKey(keys, Qt::Key_Left, Qt::ControlModifier);
    typeKey(keys, Qt::Key_Left, Qt::ControlModifier);
    for (int i = 0; i < 30; ++i)
        typeKey(keys, Qt::Key_Left, Qt::ShiftModifier);
    typeKey(keys, Qt::Key_Plus, Qt::KeypadModifier, "+");
    typeKey(keys, Qt::Key_M, Qt::NoModifier, "m");
    EXPECT_EQ(windows.scrollPos(ControlId::PanXBar), -20);
    EXPECT_EQ(windows.scrollPos(ControlId::YawBar), -30);
    EXPECT_EQ(windows.scrollPos(ControlId::ZoomBar), -1);
    EXPECT_EQ(windows.text(ControlId::MouseModeButton), "m");
    const QImage moved = view->grabFramebuffer();
    EXPECT_NE(moved, fitted);

    auto* reset = qobject_cast<QPushButton*>(windows.widget(ControlId::ResetViewButton));
    ASSERT_NE(reset, nullptr);
    reset->click();
    for (ControlId bar : {ControlId::PitchBar, ControlId::YawBar, ControlId::ZoomBar,
                          ControlId::PanXBar, ControlId::PanYBar})
        EXPECT_EQ(windows.scrollPos(bar), 0) << toInt(bar);
    EXPECT_EQ(windows.text(ControlId::MouseModeButton), "M");
    EXPECT_EQ(view->grabFramebuffer(), fitted);
}

// The Options menu's last item shows the Texture sources window over the sources, one of
// them gone. Leaves a picture of the window beside the test program.
TEST(Editor, TextureSourcesWindowShowsTheSourcesWithItsButtons) {
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString gone = folder.filePath("Res2.gob");
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start());
    editor.shell().state.textureLoader.setSources(
        {QFile::encodeName(folder.path()).toStdString(), QFile::encodeName(gone).toStdString()});
    qt::QtWindowSystem& windows = editor.windows();
    QAction* item = nullptr;
    for (QAction* menu : windows.menuBar()->actions())
        if (menu->menu() != nullptr && menu->text() == "&Options")
            item = menu->menu()->actions().last();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Te&xture sources...");
    item->trigger();

    QWidget* window = windows.widget(Window::Sources);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(
        waitFor([window] { return window->isVisible() && window->windowHandle()->isExposed(); }));
    EXPECT_EQ(window->windowTitle(), "Texture sources");
    EXPECT_EQ(qobject_cast<QListWidget*>(windows.widget(ControlId::SourcesList))->count(), 2);
    EXPECT_TRUE(window->grab().save(QString(SW_GUI_OUTPUT_DIR) + "/skinweaver-sources.png"));
}

QAction* menuItem(const QMenuBar* bar, const QString& text) {
    for (const QAction* dropDown : bar->actions()) {
        for (QAction* item : dropDown->menu() ? dropDown->menu()->actions() : QList<QAction*>{})
            if (item->text() == text)
                return item;
    }
    return nullptr;
}

// Counts the close requests a widget receives.
class CloseRequests : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Close ? 1 : 0;
        return false;
    }
};

enum class Reflex { Escape, CloseBox };

// Once the next modal box is up: presses Escape in it or uses its close box (through the X
// server, as the window manager does), writes down whether the box is still shown, and presses
// Enter in the box if it is.
void reflexThenEnter(Reflex reflex, const std::string& caption, std::vector<std::string>& seen) {
    QTimer::singleShot(0, [reflex, caption, &seen] {
        QWidget* box = nullptr;
        if (!waitFor([&] {
                box = QApplication::activeModalWidget();
                return box != nullptr && shownWindow(getpid(), caption).has_value();
            })) {
            seen.push_back("no box");
            return;
        }
        const auto press = [box](Qt::Key key) {
            QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, key);
        };
        if (reflex == Reflex::Escape) {
            press(Qt::Key_Escape);
            QTest::qWait(100);
        } else {
            CloseRequests closes;
            box->installEventFilter(&closes);
            if (closeWindow(getpid(), caption))
                waitFor([&closes] { return closes.count > 0; });
            box->removeEventFilter(&closes);
        }
        seen.push_back(box->isVisible() ? "shown" : "gone");
        if (box->isVisible())
            press(Qt::Key_Return);
    });
}

// The questions with Yes and No have no Cancel: Escape and the close box answer nothing, and
// Enter answers Yes.
TEST(Editor, YesNoQuestionsIgnoreEscapeAndTheCloseBox) {
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start(QFile::encodeName(kSample).toStdString()));
    QWidget* main = editor.windows().widget(Window::Main);
    ASSERT_TRUE(waitFor([main] { return main->isVisible() && main->windowHandle()->isExposed(); }));
    const std::unique_ptr<Model>& model = editor.shell().state.currentModel;
    bool saveOffered = false;
    QTimer cancelSave;
    QObject::connect(&cancelSave, &QTimer::timeout, [&saveOffered] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            saveOffered = true;
            dialog->reject();
        }
    });
    cancelSave.start(50);

    for (const Reflex reflex : {Reflex::Escape, Reflex::CloseBox}) {
        SCOPED_TRACE(reflex == Reflex::Escape ? "Escape" : "close box");
        const auto ask = [&editor, reflex](const QString& item, const std::string& caption) {
            std::vector<std::string> seen;
            reflexThenEnter(reflex, caption, seen);
            if (QAction* action = menuItem(editor.windows().menuBar(), item))
                action->trigger();
            return seen;
        };
        const std::vector<std::string> shown{"shown"};
        EXPECT_EQ(ask("&Re-calculate character offset", "Re-calculate character offset"), shown);
        ASSERT_NE(model, nullptr);
        EXPECT_NE(model->zMin, 0.0);
        EXPECT_EQ(model->insertOffset.z, model->zMin); // Yes: the feet are on the ground

        EXPECT_EQ(ask("&Revert", "Skinweaver 1.1"), shown);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->insertOffset.z, 0.0); // Yes: the file was read again

        saveOffered = false;
        EXPECT_EQ(ask("&Close", "Skinweaver 1.1"), shown);
        EXPECT_TRUE(saveOffered); // Yes to "Save?"
        EXPECT_EQ(model, nullptr);
        editor.shell().openFromCommandLine(QFile::encodeName(kSample).toStdString());
    }
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
