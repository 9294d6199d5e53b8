#include "platform/qt/QtWindowSystem.h"
#include "platform/WindowEvents.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    void onPointerMove(int, int) override {}
    void onPointerPress(int, int) override {}
    void onPointerRelease(int, int) override {}
    void onClose(Window window) override { note("close", static_cast<int>(window)); }
    void onPrivateMessage(Window, PrivateMessage) override {}
    void onFrame() override {}

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
    windows.resetList(ControlId::MeshList);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(sink.events, std::vector<std::string>(4, "command 301 1"));
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

} // namespace
} // namespace sw::test
