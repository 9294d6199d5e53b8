#pragma once

#include "editor/UndoHistory.h"
#include "model/Model.h"

#include <memory>
#include <vector>

namespace sw {

// An undo step for a change of one group's texture vertices: an auto remap, a move, a scale.
// It keeps what such a change can touch: the group's `shared` flag and own texture vertices,
// the texture vertex each corner names, the mesh's texture vertices the group names, and
// whether the group was edited. Selection flags are not part of a change: they stay as they
// are wherever the vertices are the same ones before and after.
class GroupStep : public UndoStep {
public:
    // The group as it is now, before the change. Throws std::bad_alloc when it does not fit.
    static std::unique_ptr<GroupStep> record(const Model& model, int mesh, int group);

    void swap(Model& model) override;
    bool matches(const Model& model) const override;
    std::size_t bytes() const override;
    StepScope scope() const override { return {mesh_, group_, false}; }

private:
    struct State {
        bool shared = true;
        bool edited = false;
        std::vector<GlTxvert> own;
        std::vector<int> corners; // each corner's txvert, face after face
        std::vector<int> named;   // the mesh's texture vertices the corners name, once each
        std::vector<GlTxvert> namedValues;
    };
    static State capture(const Model& model, int mesh, int group, const std::vector<int>* named);

    int mesh_ = 0;
    int group_ = 0;
    State state_;
};

} // namespace sw
