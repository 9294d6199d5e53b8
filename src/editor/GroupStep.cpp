#include "editor/GroupStep.h"

#include "editor/GroupVertices.h"

#include <algorithm>

namespace sw {

using editor::cornerTxverts;
using editor::groupOf;
using editor::meshOf;
using editor::setCornerTxverts;

GroupStep::State GroupStep::capture(const Model& model, int mesh, int group,
                                    const std::vector<int>* named) {
    const Mesh& m = meshOf(model, mesh);
    const GlGroup& g = groupOf(m, group);
    State state;
    state.shared = g.shared;
    state.edited = g.edited;
    state.own = g.ownTxverts;
    state.corners = cornerTxverts(g);
    if (named) {
        state.named = *named;
    } else if (g.shared) {
        // Each named vertex once, in the order of first use.
        std::vector<bool> seen(m.glTxverts.size());
        for (const int t : state.corners) {
            const auto at = static_cast<std::size_t>(t);
            if (at < seen.size() && !seen[at]) {
                seen[at] = true;
                state.named.push_back(t);
            }
        }
    }
    for (const int t : state.named)
        state.namedValues.push_back(m.glTxverts[static_cast<std::size_t>(t)]);
    return state;
}

std::unique_ptr<GroupStep> GroupStep::record(const Model& model, int mesh, int group) {
    auto step = std::make_unique<GroupStep>();
    step->mesh_ = mesh;
    step->group_ = group;
    step->state_ = capture(model, mesh, group, nullptr);
    return step;
}

void GroupStep::swap(Model& model) {
    State other = capture(model, mesh_, group_, &state_.named);
    Mesh& m = meshOf(model, mesh_);
    GlGroup& g = groupOf(m, group_);
    g.shared = state_.shared;
    g.edited = state_.edited;
    // The same vertices on both sides keep the selection the user has now.
    if (state_.own.size() == g.ownTxverts.size())
        for (std::size_t i = 0; i < state_.own.size(); ++i)
            state_.own[i].selected = g.ownTxverts[i].selected;
    g.ownTxverts = std::move(state_.own);
    setCornerTxverts(g, state_.corners);
    for (std::size_t i = 0; i < state_.named.size(); ++i) {
        GlTxvert& t = m.glTxverts[static_cast<std::size_t>(state_.named[i])];
        t.u = state_.namedValues[i].u;
        t.v = state_.namedValues[i].v;
    }
    state_ = std::move(other);
}

bool GroupStep::matches(const Model& model) const {
    const Mesh& m = meshOf(model, mesh_);
    const GlGroup& g = groupOf(m, group_);
    const auto sameSpot = [](const GlTxvert& a, const GlTxvert& b) {
        return a.u == b.u && a.v == b.v;
    };
    if (g.shared != state_.shared || !std::equal(g.ownTxverts.begin(), g.ownTxverts.end(),
                                                 state_.own.begin(), state_.own.end(), sameSpot))
        return false;
    if (cornerTxverts(g) != state_.corners)
        return false;
    for (std::size_t i = 0; i < state_.named.size(); ++i)
        if (!sameSpot(m.glTxverts[static_cast<std::size_t>(state_.named[i])],
                      state_.namedValues[i]))
            return false;
    return true;
}

std::size_t GroupStep::bytes() const {
    return sizeof(*this) + state_.own.capacity() * sizeof(GlTxvert) +
           state_.corners.capacity() * sizeof(int) + state_.named.capacity() * sizeof(int) +
           state_.namedValues.capacity() * sizeof(GlTxvert);
}

} // namespace sw
