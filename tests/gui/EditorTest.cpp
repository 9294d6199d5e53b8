// The editor and its Qt window system in this process, under the test's display.

#include "gui/EditorApp.h"
#include "platform/WindowEvents.h"
#include "platform/qt/QtWindowSystem.h"
#include "support/Desktop.h"
#include "support/TextureFiles.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QOpenGLWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace sw::test {
namespace {

// Writes down every event; a scroll request can be answered by placing the bar.
class RecordingSink : public WindowEvents {
public:
    explicit RecordingSink(WindowSystem& windows) : windows_(windows) {}

    std::vector<std::string> events;
    bool placeBars = false;

    void onCommand(ControlId id, Notification n) override {
        note("command", toInt(id), static_cast<int>(n));
    }
    void onKeyDown(Window, int key) override { note("down", key); }
    void onKeyUp(Window, int key) override { note("up", key); }
    void onChar(Window, char c) override { note("char", c); }
    void onScroll(ControlId bar, ScrollRequest request, int position) override {
        note("scroll", static_cast<int>(request), position);
        if (placeBars)
            windows_.setScrollPos(bar, position * 2);
    }
    void onSize(Window, int, int) override {}
    void onPointerMove(double, double, PointerState) override {}
    void onPointerPress(double, double, PointerButton) override {}
    void onPointerRelease(double, double, PointerButton) override {}
    void onWheel(double, double, double) override {}
    void onClose(Window window) override { note("close", static_cast<int>(window)); }
    void onPrivateMessage(Window, PrivateMessage) override {}
    void onFrame() override {}
    void onTimer(Timer) override {}

private:
    void note(std::string event, auto... values) {
        ((event += " " + std::to_string(values)), ...);
        events.push_back(event);
    }

    WindowSystem& windows_;
};

class QtControls : public testing::Test {
protected:
    void SetUp() override {
        windows.setEventSink(&sink);
        ASSERT_TRUE(windows.createWindow({Window::Main, "main", {0, 0, 300, 200}}));
        ASSERT_TRUE(windows.createWindow({Window::Controls, "panel", {0, 0, 200, 200}}));
        using enum ControlKind;
        for (const ControlDesc& desc :
             {ControlDesc{
                  Window::Main, HorizontalScrollBar, ControlId::YawBar, "", {0, 0, 200, 10}},
              ControlDesc{Window::Controls, ListBox, ControlId::MeshList, "", {0, 0, 100, 100}},
              ControlDesc{Window::Controls, RadioButton, ControlId::AxisX, "x", {0, 100, 40, 18}}})
            ASSERT_TRUE(windows.createControl(desc));
        windows.setScrollRange(ControlId::YawBar, -180, 180);
        windows.setScrollPos(ControlId::YawBar, 10);
    }

    QScrollBar* yawBar() { return qobject_cast<QScrollBar*>(windows.widget(ControlId::YawBar)); }

    qt::QtWindowSystem windows;
    RecordingSink sink{windows};
};

TEST_F(QtControls, ScrollBarsReportRequestsAndMoveOnlyWhenTheHandlerPlacesThem) {
    yawBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(windows.scrollPos(ControlId::YawBar), 10);

    sink.placeBars = true;
    yawBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(windows.scrollPos(ControlId::YawBar), 0); // the handler put it at 2 x 0

    yawBar()->setSliderPosition(-40); // the thumb dragged with tracking: a move request
    EXPECT_EQ(windows.scrollPos(ControlId::YawBar), -80);

    // Line and page requests carry the position the bar would have taken.
    EXPECT_EQ(sink.events, (std::vector<std::string>{"scroll 1 11", "scroll 2 0", "scroll 5 -40"}));

    // Qt's own menu on a bar ("Scroll here", ...) would move it past the handler; there is none.
    QWidget* menu = nullptr;
    QTimer::singleShot(200, [&menu] {
        if ((menu = QApplication::activePopupWidget()) != nullptr)
            menu->close();
    });
    const QPoint where(150, 5);
    QContextMenuEvent request(QContextMenuEvent::Mouse, where, yawBar()->mapToGlobal(where));
    QApplication::sendEvent(yawBar(), &request);
    QTest::qWait(300);
    EXPECT_EQ(menu, nullptr);
}

// As the system's list box: the program's changes notify nothing, every click on a row is a
// choice, of the chosen row too, and nothing the user does leaves the list without its row.
TEST_F(QtControls, ListsReportEveryClickOnARowButNoChangeOfTheProgramsAndKeepTheirRow) {
    windows.insertRow(ControlId::MeshList, 0, "torso");
    windows.insertRow(ControlId::MeshList, 0, "head");
    windows.insertRow(ControlId::MeshList, 99, "legs");
    windows.setCurrentRow(ControlId::MeshList, 2);
    EXPECT_EQ(windows.currentRow(ControlId::MeshList), 2);
    windows.setCurrentRow(ControlId::MeshList, -1);
    EXPECT_EQ(windows.currentRow(ControlId::MeshList), -1);
    windows.setCurrentRow(ControlId::MeshList, 0);
    EXPECT_TRUE(sink.events.empty());
    auto* list = qobject_cast<QListWidget*>(windows.widget(ControlId::MeshList));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text() + list->item(1)->text() + list->item(2)->text(),
              "headtorsolegs");
    windows.setVisible(Window::Controls, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    QWidget* rows = list->viewport();
    const auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };

    QTest::mouseClick(rows, Qt::LeftButton, {}, at(0));
    QTest::mouseClick(rows, Qt::LeftButton, {}, at(2));
    QTest::mouseClick(rows, Qt::LeftButton, Qt::ControlModifier, at(2));
    EXPECT_EQ(windows.currentRow(ControlId::MeshList), 2);
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(5, rows->height() - 3)); // below them
    EXPECT_EQ(windows.currentRow(ControlId::MeshList), 2);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(windows.currentRow(ControlId::MeshList), 1);
    // Only the left button chooses and double-clicks.
    for (const auto& [button, row] :
         {std::pair{Qt::LeftButton, 1}, {Qt::RightButton, 1}, {Qt::MiddleButton, 1}}) {
        QTest::mouseClick(rows, button, {}, at(row));
        QTest::mouseDClick(rows, button, {}, at(row));
        QTest::mouseRelease(rows, button, {}, at(row));
    }
    windows.resetList(ControlId::MeshList);
    EXPECT_EQ(list->count(), 0);
    std::vector<std::string> expected(5, "command 301 1");
    expected.push_back("command 301 2");
    EXPECT_EQ(sink.events, expected);
}

// A click on a radio button and a close box only ask the handler, which alone checks the
// button and hides or closes the window.
TEST_F(QtControls, RadioButtonsAndCloseBoxesOnlyAskTheHandler) {
    auto* radio = qobject_cast<QRadioButton*>(windows.widget(ControlId::AxisX));
    ASSERT_NE(radio, nullptr);
    radio->click();
    EXPECT_FALSE(windows.isChecked(ControlId::AxisX));
    windows.setChecked(ControlId::AxisX, true);
    radio->click();
    EXPECT_TRUE(windows.isChecked(ControlId::AxisX));

    windows.setVisible(Window::Controls, true);
    QCloseEvent close;
    QApplication::sendEvent(windows.widget(Window::Controls), &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(windows.widget(Window::Controls)->isVisible());
    EXPECT_EQ(sink.events, (std::vector<std::string>{"command 514 0", "command 514 0", "close 2"}));
}

// The control panel and the Preferences window have no sizing frame; the main window has one.
TEST_F(QtControls, OnlyTheMainWindowCanBeResized) {
    ASSERT_TRUE(windows.createWindow({Window::Options, "options", {0, 0, 200, 150}}));
    for (Window window : {Window::Main, Window::Controls, Window::Options}) {
        const QWidget* top = windows.widget(window);
        EXPECT_EQ(top->minimumSize() == top->maximumSize(), window != Window::Main)
            << static_cast<int>(window);
    }
}

// The names the open dialog lists in its folder once it has read it, after the filter the
// dialog was given (which a desktop's own dialog receives as it is); the dialog is then
// cancelled.
QStringList listed(qt::QtWindowSystem& windows, const QString& folder, const FileFilter& filter,
                   int expected) {
    QStringList names;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        names << dialog->nameFilters();
        auto* view = dialog->findChild<QListView*>("listView");
        waitFor(
            [&] {
                return view != nullptr && view->model()->rowCount(view->rootIndex()) >= expected;
            },
            5000);
        for (int row = 0; view != nullptr && row < view->model()->rowCount(view->rootIndex());
             ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        dialog->reject();
    });
    std::string path = QFile::encodeName(folder + "/none").toStdString();
    std::string name;
    FileDialogRequest request;
    request.owner = Window::Main;
    request.filters = {filter};
    windows.showFileDialog(request, path, name);
    names.sort();
    return names;
}

TEST(FileDialog, ListsFilesWhateverTheCaseOfTheirExtension) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* file : {"knight.3do", "KNIGHT2.3DO", "wall.mat", "WALL2.MAT", "sky.BMP"}) {
        QFile created(folder.filePath(file));
        ASSERT_TRUE(created.open(QIODevice::WriteOnly));
    }
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start());
    EXPECT_EQ(listed(editor.windows(), folder.path(), {"3DO model", "*.3do"}, 2),
              (QStringList{"3DO model (*.3do *.3DO)", "KNIGHT2.3DO", "knight.3do"}));
    EXPECT_EQ(
        listed(editor.windows(), folder.path(), {"MAT and BMP", "*.mat;*.bmp"}, 3),
        (QStringList{"MAT and BMP (*.mat *.MAT *.bmp *.BMP)", "WALL2.MAT", "sky.BMP", "wall.mat"}));
}

// A widget's own text and the room its style lays out for it, or nothing for a widget that
// shows no text of its own.
std::optional<std::pair<QString, QRect>> captionOf(const QWidget* widget) {
    QStyle* style = widget->style();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QStyle::SubElement element =
            qobject_cast<const QCheckBox*>(widget)      ? QStyle::SE_CheckBoxContents
            : qobject_cast<const QRadioButton*>(widget) ? QStyle::SE_RadioButtonContents
                                                        : QStyle::SE_PushButtonContents;
        return std::pair(button->text(), style->subElementRect(element, &option, button));
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return std::pair(label->text(), label->contentsRect());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        // The title sits on the frame, indented from its left end and clear of its right.
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        return std::pair(group->title(), QRect(title.left(), title.top(),
                                               group->width() - 2 * title.left(), title.height()));
    }
    return std::nullopt;
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

// Started without a model: the menu, the control panel greyed, the Preferences window hidden,
// and the view black where it is cleared while the window around it is not. Then every caption
// of the three windows and the menu bar shows whole in the font the program chose, at the sizes
// the windows give their controls. Leaves pictures of the tool windows beside the test program.
TEST(Labels, StartsGreyedAndEveryCaptionOfTheThreeWindowsReadsWhole) {
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start());
    qt::QtWindowSystem& windows = editor.windows();
    QWidget* main = windows.widget(Window::Main);
    ASSERT_TRUE(waitForExposed(main));
    EXPECT_FALSE(windows.widget(Window::Options)->isVisible());
    EXPECT_EQ(menuBarTexts(windows.menuBar()),
              (QStringList{"&File", "&Edit", "&Options", "&About..."}));
    const auto buttons = windows.widget(Window::Controls)->findChildren<QAbstractButton*>();
    EXPECT_EQ(buttons.size(), 24); // 21 push buttons and 3 radio buttons
    for (const QAbstractButton* button : buttons)
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(windows.widget(ControlId::AxisXY))->isChecked());
    QWidget* view = windows.widget(ControlId::GlView);
    const QPoint viewCentre = view->mapToGlobal(view->rect().center());
    QImage screen;
    ASSERT_TRUE(waitFor([&] {
        screen = grabScreen();
        return isBlack(screen.pixel(viewCentre));
    }));
    EXPECT_FALSE(
        isBlack(screen.pixel(main->mapToGlobal(QPoint(main->width() - 3, main->height() - 3)))));

    editor.shell().onCommand(ControlId::MenuPreferences, Notification::Clicked);
    for (const Window window : {Window::Main, Window::Controls, Window::Options}) {
        QWidget* top = windows.widget(window);
        ASSERT_TRUE(waitForExposed(top));
        for (const QWidget* widget : top->findChildren<QWidget*>()) {
            const auto caption = captionOf(widget);
            if (!caption || caption->first.isEmpty())
                continue;
            const auto& [text, room] = *caption;
            const QFontMetrics metrics(widget->font());
            EXPECT_LE(metrics.horizontalAdvance(QString(text).remove('&')), room.width())
                << text.toStdString() << " in " << room.width() << " pixels";
            EXPECT_LE(metrics.height(), widget->height()) << text.toStdString();
        }
    }
    // The menu bar holds its items and the corner item side by side.
    const QMenuBar* bar = windows.menuBar();
    EXPECT_LE(bar->sizeHint().width(), bar->width());

    // The sources window over the samples' folder and an archive that is gone.
    const std::string samples = SW_SAMPLES_DIR;
    editor.shell().state.textureLoader.setSources({samples, samples + "/Res2.gob"});
    editor.shell().onCommand(ControlId::MenuTextureSources, Notification::Clicked);
    ASSERT_TRUE(waitForExposed(windows.widget(Window::Sources)));
    for (const auto& [window, name] : {std::pair{Window::Options, "preferences"},
                                       {Window::Controls, "controls"},
                                       {Window::Sources, "sources"}})
        EXPECT_TRUE(windows.widget(window)->grab().save(QString(SW_GUI_OUTPUT_DIR) +
                                                        "/skinweaver-" + name + ".png"));
}

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
        EXPECT_TRUE(saveOffered); // Yes to "Save?", then the save cancelled: the model stays
        EXPECT_NE(model, nullptr);
        editor.shell().openFromCommandLine(QFile::encodeName(kSample).toStdString());
    }
}

// A texture saved by another program shows within a second: written anew and renamed over the
// old file, as most programs save, and then rewritten in place, which only works if the file
// is watched again after the rename.
TEST(TextureReload, ATextureSavedElsewhereShowsWithinASecond) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid() && QDir(folder.path()).mkpath("mat"));
    for (const char* file : {"totem.3do", "mat/stone.MAT", "mat/wood.MAT", "mat/red.MAT"})
        ASSERT_TRUE(QFile::copy(QString(SW_SAMPLES_DIR) + "/" + file, folder.filePath(file)));
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start(QFile::encodeName(folder.filePath("totem.3do")).toStdString()));
    ASSERT_TRUE(waitForExposed(editor.windows().widget(Window::Main)));
    auto* view = qobject_cast<QOpenGLWidget*>(editor.windows().widget(ControlId::GlView));
    const std::string stone = QFile::encodeName(folder.filePath("mat/stone.MAT")).toStdString();
    // The stone in red (entry 6 of the built-in palette), then in blue (31).
    for (const char index : {'\x06', '\x1f'}) {
        const QImage shown = view->grabFramebuffer();
        const std::string bytes = matTexture(64, 64, 8, std::string(64 * 64, index));
        if (index == '\x06') {
            std::ofstream(stone + ".new", std::ios::binary) << bytes;
            std::filesystem::rename(stone + ".new", stone);
        } else {
            std::ofstream(stone, std::ios::binary) << bytes;
        }
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(waitFor([&] { return view->grabFramebuffer() != shown; }, 1000))
            << static_cast<int>(index);
        EXPECT_LT(clock.elapsed(), 1000);
    }
}

} // namespace
} // namespace sw::test

int main(int argc, char** argv) {
    // The editor keeps its preferences in the user's configuration; these runs keep theirs
    // apart (the real program started below inherits the setting).
    const QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    const QTemporaryDir data; // and their kept unsaved changes
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    sw::qt::QtWindowSystem::setDefaultSurfaceFormat();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
