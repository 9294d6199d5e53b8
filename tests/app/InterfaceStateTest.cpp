#include "app/InterfaceState.h"
#include "app/ShellFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
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

// The groups each state enables.
const std::map<InterfaceState, std::set<Group>> kEnabled{
    {NoModel, {}},
    {ModelOpen, {Panes, Lists, View, Gl, FileItems}},
    {TextureChosen, {Panes, Lists, View, Gl, Texture, Auto, Manual, FileItems}},
    {Editing, {Panes, Gl, Auto, Manual, EditTools, FileItems}},
};

struct StateCase {
    const char* name;
    std::vector<Step> steps; // from the start-up state
    InterfaceState state;
};

class InterfaceStates : public ShellFixture, public testing::WithParamInterface<StateCase> {};

TEST_P(InterfaceStates, EnableExactlyTheirGroups) {
    const StateCase& c = GetParam();
    const auto labels = [this] {
        std::map<Id, std::pair<std::string, bool>> all; // caption and check of every control
        for (const auto& [id, control] : windows.controls)
            all[id] = {control.text, control.checked};
        return all;
    };
    auto expectedLabels = labels();
    expectedLabels[Id::Edit].first = c.state == Editing ? "return" : "edit";

    for (const Step step : c.steps)
        step(shell.state, windows);

    EXPECT_EQ(shell.state.interfaceState, c.state);
    expectEnabled(kEnabled.at(c.state));
    EXPECT_EQ(labels(), expectedLabels); // greying changes no check and no other caption
}

INSTANTIATE_TEST_SUITE_P(
    Transitions, InterfaceStates,
    testing::Values(StateCase{"AfterStartUp", {}, NoModel},
                    StateCase{"ModelOpened", {openModel}, ModelOpen},
                    StateCase{"TextureChosen", {openModel, chooseTexture}, TextureChosen},
                    StateCase{"Editing", {openModel, chooseTexture, startEditing}, Editing},
                    StateCase{"ReturnedFromEditing",
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
