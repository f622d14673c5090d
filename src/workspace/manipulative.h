// The base of every workspace object, and the line manipulative built of segments only.
#pragma once

#include "workspace/line.h"
#include "workspace/point.h"
#include "workspace/types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quorvel {

class CArchive;
class IDrawingSurface;

// Type codes written in front of every manipulative in a document file. Fixed values.
enum ManipulativeType : std::int32_t {
    kTypeBase = -1,
    kTypeLine = 0,
    kTypeShape = 1,
    kTypePolyShape = 2,
    kTypeAnglemeter = 3,
    kTypeAnnotator = 4,
    kTypePicture = 5,
    kTypeNoteCard = 6,
    kTypeShiftMachine = 7,
    kTypeKeywordMachine = 8,
    kTypeGroupMachine = 9,
    kTypeNumberMachine = 10,
    kTypeMachineLink = 12,
    kTypeNumberCard = 13,
    kTypeTable = 14,
    kTypePatternsAnnotator = 15,
    kTypeStaticAnnotator = 16,
};

// Snap distance in pixels between two candidate points (and between two frames).
inline constexpr double kSnapDistance = 8.0;
// Outline export holds at most this many points (99 lines and the centre).
inline constexpr int kMaxVertices = 199;
// A shrinking Scale is refused once the frame is at most this wide and high.
inline constexpr int kMinScaleFrame = 5;

class CManipulative {
public:
    CManipulative() = default;
    // Copies centre, rotation point, visible, kind and scale level; selected, fixed, script
    // mark and highlighted start cleared. Lines are copied by the subclass.
    CManipulative(const CManipulative& other);
    CManipulative& operator=(const CManipulative&) = delete;
    virtual ~CManipulative() = default;

    virtual void Serialize(CArchive& ar);

    // Slots 1..40.
    virtual std::int32_t GetType() const { return kTypeBase; }
    virtual int GetLowestScaleLevel() const { return m_scaleLevel; }
    virtual int GetHighestScaleLevel() const { return m_scaleLevel; }
    virtual void RaiseScaleLevel() { ++m_scaleLevel; }
    virtual void LowerScaleLevel() { --m_scaleLevel; }
    virtual void SetSelected(bool selected, bool redraw = true);
    virtual bool ToggleSelected();
    virtual void SetHighlighted(bool highlighted) { m_highlighted = highlighted; }
    virtual void SetVisible(bool visible) { m_visible = visible; }
    virtual C3DPointDouble MoveRotationPoint(double dx, double dy);
    virtual bool IsOnRotationPoint(const C3DPointDouble& p) const;
    virtual bool FindSnapPair(const CManipulative& other, C3DPointDouble& mine,
                              C3DPointDouble& theirs) const;
    virtual bool FindSnapPoint(const C3DPointDouble& p, C3DPointDouble& mine) const;
    virtual bool IsEqualTo(const CManipulative& other) const;
    virtual std::unique_ptr<CManipulative> Clone() const;
    virtual void Draw(IDrawingSurface& dc) const;
    virtual void DrawOutline(IDrawingSurface& dc) const;
    virtual bool HitTest(double x, double y) const;
    virtual bool HitTestLine(double x, double y) const;
    // Where HitTest can be true: never at a whole point outside `r` (empty when nowhere).
    // False when the manipulative cannot say.
    virtual bool GetHitBounds(CRect& /*r*/) const { return false; }
    virtual bool ToggleLineAt(const C3DPointDouble& p);
    virtual bool BeginHandleDrag(const C3DPointDouble& p);
    virtual bool DragHandle(const C3DPointDouble& p);
    virtual void CutAlong(const C3DPointDouble& from, const C3DPointDouble& to,
                          std::vector<std::unique_ptr<CManipulative>>& pieces);
    virtual void MoveBy(double dx, double dy);
    virtual void MoveTo(const C3DPointDouble& p);
    virtual void Rotate(double angle, const C3DPointDouble& about);
    virtual void FlipStepCrossAxis(const C3DPointDouble& about);
    virtual void FlipStep(const C3DPointDouble& about);
    virtual void Scale(double factor, const C3DPointDouble& about);
    virtual void GetFrame(CRect& r) const;
    virtual void GetBounds(CRect& r) const;
    CRect GetFrameOf() const;
    virtual std::vector<std::unique_ptr<CManipulative>>* GetMembers() { return nullptr; }
    virtual const std::vector<std::unique_ptr<CManipulative>>* GetMembers() const {
        return nullptr;
    }
    // Outline export: each line's start and end, then the centre, as whole pixels.
    virtual int GetVertices(std::vector<CPoint>& out) const;
    virtual void SetColor(Color color);
    virtual void SetLineColor(Color color);
    virtual Color GetColor() const;
    virtual void SetLineWidth(int width);
    virtual int GetLineWidth() const;
    virtual void UnitHook() {}

    // Fields.
    const C3DPointDouble& centre() const { return m_centre; }
    const C3DPointDouble& rotationPoint() const { return m_rotationPoint; }
    void SetRotationPoint(const C3DPointDouble& p) { m_rotationPoint = p; }
    bool fixed() const { return m_fixed; }
    // Writing of the Writing tool, of either kind (types 4 and 16).
    bool IsAnnotation() const {
        return GetType() == kTypeAnnotator || GetType() == kTypeStaticAnnotator;
    }
    void SetFixed(bool fixed) { m_fixed = fixed; }
    bool selected() const { return m_selected; }
    bool visible() const { return m_visible; }
    bool scriptMark() const { return m_scriptMark; }
    void SetScriptMark(bool mark) { m_scriptMark = mark; }
    bool highlighted() const { return m_highlighted; }
    std::int32_t kind() const { return m_kind; }
    void SetKind(std::int32_t kind) { m_kind = kind; }
    int scaleLevel() const { return m_scaleLevel; }
    const std::vector<CLine>& lines() const { return m_lines; }
    std::vector<CLine>& lines() { return m_lines; }

protected:
    // Candidate points for snapping: each line's start, end and middle, then the centre.
    virtual void SnapCandidates(std::vector<C3DPointDouble>& out) const;

    C3DPointDouble m_centre;
    C3DPointDouble m_rotationPoint;
    bool m_fixed = false;
    bool m_selected = false;
    bool m_visible = true;
    bool m_scriptMark = false;
    bool m_highlighted = false;
    std::int32_t m_kind = -1;
    std::vector<CLine> m_lines;
    int m_scaleLevel = 0;

private:
    struct SnapSearch;
    void CollectSnapPair(const CManipulative& other, SnapSearch& search) const;
    void CollectSnapPoint(const C3DPointDouble& p, SnapSearch& search) const;
};

class CLineManipulative : public CManipulative {
public:
    // Starts invisible.
    CLineManipulative();
    // Each line copied; the centre is the mean of all end points, the rotation point the centre.
    explicit CLineManipulative(const std::vector<CLine>& lines);
    CLineManipulative(const CLineManipulative& other);

    std::int32_t GetType() const override { return kTypeLine; }
    std::unique_ptr<CManipulative> Clone() const override;
    void Draw(IDrawingSurface& dc) const override;
    void DrawOutline(IDrawingSurface& dc) const override;
    bool HitTest(double x, double y) const override;
    bool HitTestLine(double x, double y) const override;
    bool ToggleLineAt(const C3DPointDouble& p) override;
    void MoveBy(double dx, double dy) override;
    void Rotate(double angle, const C3DPointDouble& about) override;
    void FlipStepCrossAxis(const C3DPointDouble& about) override;
    void FlipStep(const C3DPointDouble& about) override;
    void Scale(double factor, const C3DPointDouble& about) override;
    void GetFrame(CRect& r) const override;
    void GetBounds(CRect& r) const override;
    int GetVertices(std::vector<CPoint>& out) const override;
    void SetColor(Color color) override;

    // Centre = mean of all end points (x, y and z); rotation point = centre.
    void RecomputeCentre();
};

} // namespace quorvel
