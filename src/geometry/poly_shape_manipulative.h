// The group: a manipulative that owns other manipulatives and moves them as one, with a frame
// of four corners that follows every transformation.
#pragma once

#include "workspace/manipulative.h"

#include <array>

namespace quorvel {

class CPolyShapeManipulative : public CManipulative {
public:
    using MemberList = std::vector<std::unique_ptr<CManipulative>>;

    CPolyShapeManipulative() = default;
    // Takes the members in the order given. The centre is the mean of their centres, the
    // rotation point the centre, and the frame their common bounds widened by one pixel.
    explicit CPolyShapeManipulative(MemberList members);
    // Members cloned.
    CPolyShapeManipulative(const CPolyShapeManipulative& other);

    // The base form, the member count, each member's type code and form, the four corners.
    void Serialize(CArchive& ar) override;

    std::int32_t GetType() const override { return kTypePolyShape; }
    int GetLowestScaleLevel() const override;
    int GetHighestScaleLevel() const override;
    void RaiseScaleLevel() override;
    void LowerScaleLevel() override;
    void SetSelected(bool selected, bool redraw = true) override;
    void SetHighlighted(bool highlighted) override;
    void SetVisible(bool visible) override;
    std::unique_ptr<CManipulative> Clone() const override;
    void Draw(IDrawingSurface& dc) const override;
    void DrawOutline(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    bool GetHitBounds(CRect& r) const override;
    bool HitTestLine(double x, double y) const override;
    bool ToggleLineAt(const C3DPointDouble& p) override;
    void MoveBy(double dx, double dy) override;
    void Rotate(double angle, const C3DPointDouble& about) override;
    void FlipStepCrossAxis(const C3DPointDouble& about) override;
    void FlipStep(const C3DPointDouble& about) override;
    void Scale(double factor, const C3DPointDouble& about) override;
    // Union of the members' redraw boxes, with the rotation point while selected.
    void GetFrame(CRect& r) const override;
    // Union of the members' bounds.
    void GetBounds(CRect& r) const override;
    MemberList* GetMembers() override { return &m_members; }
    const MemberList* GetMembers() const override { return &m_members; }
    void SetColor(Color color) override;
    void SetLineColor(Color color) override;
    // The members' common colour; kNoColor when they differ or there are none.
    Color GetColor() const override;
    void SetLineWidth(int width) override;
    // The members' common width; -1 when they differ or there are none.
    int GetLineWidth() const override;

    // Top-left, top-right, bottom-right, bottom-left.
    const std::array<C3DPointDouble, 4>& frameCorners() const { return m_corners; }

private:
    MemberList m_members;
    std::array<C3DPointDouble, 4> m_corners{};
};

// How many groups deep `m` is nested: 0 for a manipulative that is not a group.
int GroupDepth(const CManipulative& m);

} // namespace quorvel
