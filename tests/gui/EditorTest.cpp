#include "gui/EditorApp.h"
#include "support/Desktop.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QOpenGLWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

namespace sw::test {
namespace {

const QString kSample = QString(SW_SAMPLES_DIR) + "/totem.3do";

// The positions of the bars: pitch, yaw, zoom, pan x and pan y.
std::vector<int> bars(const qt::QtWindowSystem& windows) {
    std::vector<int> positions;
    for (ControlId bar : {ControlId::PitchBar, ControlId::YawBar, ControlId::ZoomBar,
                          ControlId::PanXBar, ControlId::PanYBar})
        positions.push_back(windows.scrollPos(bar));
    return positions;
}

// The editor started on the totem sample, its main window shown.
class Editor : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(editor.start(QFile::encodeName(kSample).toStdString()));
        ASSERT_TRUE(waitForExposed(windows.widget(Window::Main)));
    }

    gui::EditorApp editor;
    qt::QtWindowSystem& windows = editor.windows();
};

TEST_F(Editor, KeysMoveTheSampleAndTheResetButtonBringsItBack) {
    auto* view = qobject_cast<QOpenGLWidget*>(windows.widget(ControlId::GlView));
    ASSERT_NE(view, nullptr);
    const QImage fitted = view->grabFramebuffer();

    // QTest presses and releases Shift and Control as keys of their own around the key, as a
    // keyboard does; "+" is the pad's.
    QWidget* keys = qobject_cast<QMainWindow*>(windows.widget(Window::Main))->centralWidget();
    QTest::keyClick(keys, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(keys, Qt::Key_Left, Qt::ControlModifier);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(keys, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(keys, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(keys, Qt::Key_M);
    EXPECT_EQ(bars(windows), (std::vector{0, -30, -1, -20, 0}));
    EXPECT_EQ(windows.text(ControlId::MouseModeButton), "m");
    EXPECT_NE(view->grabFramebuffer(), fitted);

    QTest::mouseClick(windows.widget(ControlId::ResetViewButton), Qt::LeftButton);
    EXPECT_EQ(bars(windows), std::vector(5, 0));
    EXPECT_EQ(windows.text(ControlId::MouseModeButton), "M");
    EXPECT_EQ(view->grabFramebuffer(), fitted);
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
void reflexThenEnter(Reflex reflex, const std::string& caption, std::string& seen) {
    QTimer::singleShot(0, [reflex, caption, &seen] {
        QWidget* box = nullptr;
        const auto x = X11::connect();
        if (!x || !waitFor([&] {
                box = QApplication::activeModalWidget();
                return box != nullptr && x->shownWindow(getpid(), caption).has_value();
            })) {
            seen = "no box";
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
            if (x->closeWindow(getpid(), caption))
                waitFor([&closes] { return closes.count > 0; });
            box->removeEventFilter(&closes);
        }
        seen = box->isVisible() ? "shown" : "gone";
        if (box->isVisible())
            press(Qt::Key_Return);
    });
}

// The questions with Yes and No have no Cancel: Escape and the close box answer nothing, and
// Enter answers Yes.
TEST_F(Editor, YesNoQuestionsIgnoreEscapeAndTheCloseBox) {
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
        const auto ask = [this, reflex](const QString& item, const std::string& caption) {
            std::string seen;
            reflexThenEnter(reflex, caption, seen);
            if (QAction* action = menuItem(windows.menuBar(), item))
                action->trigger();
            return seen;
        };
        EXPECT_EQ(ask("&Re-calculate character offset", "Re-calculate character offset"), "shown");
        ASSERT_NE(model, nullptr);
        EXPECT_NE(model->zMin, 0.0);
        EXPECT_EQ(model->insertOffset.z, model->zMin); // Yes: the feet are on the ground

        EXPECT_EQ(ask("&Revert", "Skinweaver 1.1"), "shown");
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->insertOffset.z, 0.0); // Yes: the file was read again

        saveOffered = false;
        EXPECT_EQ(ask("&Close", "Skinweaver 1.1"), "shown");
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
