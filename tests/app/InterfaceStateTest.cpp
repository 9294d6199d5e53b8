#include "app/InterfaceState.h"
#include "app/ShellFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sw::test {
namespace {

using Step = void (*)(ShellState&, WindowSystem&);

const Step openModel = [](ShellState& s, WindowSystem& w) {
    enterModelOpenState(s, w);
    enableFileMenu(w, true);
};
const Step closeModel = [](ShellState& s, WindowSystem& w) {
    enterNoModelState(s, w);
    enableFileMenu(w, false);
};
const Step chooseTexture = [](ShellState& s, WindowSystem& w) { setTextureChosen(s, w, true); };
const Step dropTexture = [](ShellState& s, WindowSystem& w) { setTextureChosen(s, w, false); };
const Step startEditing = [](ShellState& s, WindowSystem& w) { setEditing(s, w, true); };
const Step stopEditing = [](ShellState& s, WindowSystem& w) { setEditing(s, w, false); };

using enum InterfaceState;

class InterfaceStates : public ShellFixture {
protected:
    // The caption and check of every control: greying changes neither, but for the edit
    // button's caption.
    std::map<Id, std::pair<std::string, bool>> labels() const {
        std::map<Id, std::pair<std::string, bool>> all;
        for (const auto& [id, control] : windows.controls)
            all[id] = {control.text, control.checked};
        return all;
    }
};

// Walked from the start through the states in the order a user reaches them, the controls
// give the table of tests/data/interface-states.txt, each with its caption at the start.
TEST_F(InterfaceStates, EnableWhatTheTableSays) {
    const auto atStart = labels();
    std::map<Id, std::string> enabled;
    const auto record = [&] {
        for (const auto& [id, control] : windows.controls)
            enabled[id] += control.enabled ? '+' : '-';
    };
    record();
    for (const Step step : {openModel, chooseTexture, startEditing}) {
        step(shell.state, windows);
        record();
    }
    EXPECT_EQ(shell.state.interfaceState, Editing);
    auto expectedLabels = atStart;
    expectedLabels[Id::Edit].first = "return";
    EXPECT_EQ(labels(), expectedLabels);

    std::string table;
    for (const auto& [id, flags] : enabled)
        table += std::to_string(toInt(id)) + ' ' + flags + " \"" + atStart.at(id).first + "\"\n";
    EXPECT_EQ(table, dataFile("interface-states.txt"));
}

struct StateCase {
    const char* name;
    std::vector<Step> steps; // from the start-up state
    InterfaceState state;
};

class InterfaceStateChanges : public InterfaceStates,
                              public testing::WithParamInterface<StateCase> {};

TEST_P(InterfaceStateChanges, LeaveTheStatesControls) {
    auto expectedLabels = labels();
    for (const Step step : GetParam().steps)
        step(shell.state, windows);
    EXPECT_EQ(shell.state.interfaceState, GetParam().state);
    expectEnabled(GetParam().state);
    EXPECT_EQ(labels(), expectedLabels);
}

INSTANTIATE_TEST_SUITE_P(
    Transitions, InterfaceStateChanges,
    testing::Values(StateCase{"ReturnedFromEditing",
                              {openModel, chooseTexture, startEditing, stopEditing},
                              TextureChosen},
                    StateCase{"TextureDropped", {openModel, chooseTexture, dropTexture}, ModelOpen},
                    StateCase{"ClosedWhileEditing",
                              {openModel, chooseTexture, startEditing, closeModel},
                              NoModel},
                    StateCase{"ReopenedAfterClosingWhileEditing",
                              {openModel, chooseTexture, startEditing, closeModel, openModel},
                              ModelOpen}),
    [](const testing::TestParamInfo<StateCase>& info) { return info.param.name; });

} // namespace
} // namespace sw::test
