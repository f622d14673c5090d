// The camera, the photo box's editing, the strip's drags and the viewer's slide show.
#include "geometry/photo_controller.h"

#include "geometry/geometry_document.h"
#include "workspace/document_host.h"
#include "workspace/prompter.h"

#include <cstdio>

namespace quorvel {

namespace {

std::vector<CManipulative*> Touching(const CGeometryUnitDocument& doc, const CRect& box) {
    std::vector<CManipulative*> out;
    for (const auto& m : doc.manipulatives())
        if (m->GetFrameOf().Intersects(box))
            out.push_back(m.get());
    return out;
}

} // namespace

const char* PhotoControlHelp(int id) {
    switch (id) {
    case kPhotoCameraId:
        return kCameraTip;
    case kPhotoMagnifierId:
        return kMagnifyingGlassTip;
    case kPhotoViewerButtonId:
        return kViewerTip;
    case kPhotoStripId:
        return kPhotoStripTip;
    default:
        return nullptr;
    }
}

CPhotoStrip& CPhotoController::Strip() {
    return m_doc.photoStrip();
}

void CPhotoController::Changed() {
    m_doc.SetModifiedFlag();
    if (m_window)
        m_window->StripChanged();
}

CPhotoObject& CPhotoController::TakePhoto(const CRect& box, bool scriptPlaying) {
    m_doc.MarkUndoStep();
    const std::vector<CManipulative*> touching = Touching(m_doc, box);
    if (!touching.empty() && !scriptPlaying)
        m_doc.DeselectAll();
    const std::vector<const CManipulative*> taken(touching.begin(), touching.end());
    CPhotoObject& photo = Strip().Add(std::make_unique<CPhotoObject>(box, taken));
    Strip().ScrollToPlace(photo.stripPlace());
    Changed();
    return photo;
}

PhotoEdit CPhotoController::EditPhotos(const std::vector<std::size_t>& dropped, const CRect& box) {
    std::vector<std::size_t> photos;
    for (std::size_t i : dropped)
        if (i < Strip().size())
            photos.push_back(i);
    if (photos.empty())
        return PhotoEdit::Nothing;
    IPrompter* prompter = m_doc.host() ? &m_doc.host()->Prompter() : nullptr;
    if (photos.size() > 1) {
        if (prompter)
            prompter->MessageBox(kOnePhotoAtATime, MessageIcon::Exclamation);
        return PhotoEdit::TooMany;
    }
    const std::vector<CManipulative*> inBox = Touching(m_doc, box);
    if (!inBox.empty() && prompter &&
        prompter->MessageBox(kReplacePhotoBox, MessageIcon::Question, MessageButtons::OkCancel) !=
            MessageResult::Ok)
        return PhotoEdit::Kept;

    m_doc.MarkUndoStep();
    for (CManipulative* m : inBox)
        m_doc.DeleteManipulative(m);
    std::unique_ptr<CPhotoObject> photo = Strip().Remove(photos.front());
    // The shapes return to where they stood in the box when the photo was taken.
    const double dx = static_cast<double>(box.left) - photo->boxOrigin().x;
    const double dy = static_cast<double>(box.top) - photo->boxOrigin().y;
    for (const auto& m : photo->manipulatives()) {
        auto copy = m->Clone();
        copy->MoveBy(dx, dy);
        m_doc.AddManipulative(std::move(copy));
    }
    if (m_window)
        m_window->ShowCamera(m_doc.viewControls().photoFeatures == kPhotoShowAll);
    Changed();
    return PhotoEdit::Edited;
}

void CPhotoController::StripPress(CPoint p) {
    m_pressed = true;
    m_pressAt = p;
    m_pressScroll = Strip().scroll();
    m_dragPhoto = Strip().PhotoAt({p.x + Strip().scroll(), p.y});
}

void CPhotoController::StripDrag(CPoint p) {
    if (!m_pressed || m_dragPhoto >= 0)
        return;
    const int before = Strip().scroll();
    Strip().ScrollTo(m_pressScroll - (p.x - m_pressAt.x));
    if (Strip().scroll() != before && m_window)
        m_window->StripChanged();
}

void CPhotoController::StripRelease(CPoint p) {
    const int photo = m_dragPhoto;
    m_pressed = false;
    m_dragPhoto = -1;
    if (photo < 0)
        return;
    const int place = Strip().PlaceAt({p.x + Strip().scroll(), p.y});
    if (place < 0 || place == Strip().at(static_cast<std::size_t>(photo)).stripPlace())
        return;
    m_doc.MarkUndoStep();
    Strip().MoveToPlace(static_cast<std::size_t>(photo), place);
    Changed();
}

PhotoEdit CPhotoController::ReleaseOnPhotoBox(const CRect& box) {
    const int photo = m_dragPhoto;
    m_pressed = false;
    m_dragPhoto = -1;
    if (photo < 0)
        return PhotoEdit::Nothing;
    return EditPhotos({static_cast<std::size_t>(photo)}, box);
}

CPhotoViewerController::CPhotoViewerController(CPhotoStrip& strip, ITimerHost& timers)
    : m_strip(strip), m_timers(timers) {}

CPhotoViewerController::~CPhotoViewerController() {
    Stop();
}

bool CPhotoViewerController::IsEnabled(int button) const {
    const bool more = m_index + 1 < Count();
    const bool fewer = m_index > 0 && Count() > 0;
    switch (button) {
    case kViewerNext:
        return more;
    case kViewerPlayForward:
        return more && m_direction != +1;
    case kViewerPrevious:
        return fewer;
    case kViewerPlayBackward:
        return fewer && m_direction != -1;
    case kViewerPrint:
        return m_index < Count();
    default:
        return true;
    }
}

std::string CPhotoViewerController::Caption() const {
    if (Count() == 0)
        return kNoPhotos;
    char buf[48];
    std::snprintf(buf, sizeof buf, "Photo #%d of %d", m_index + 1, Count());
    return buf;
}

void CPhotoViewerController::Step(int direction) {
    const int next = m_index + direction;
    if (next < 0 || next >= Count()) {
        Stop();
        return;
    }
    m_index = next;
    // Reaching either end stops the slide show, whichever way it ran.
    if ((direction > 0 && m_index + 1 == Count()) || (direction < 0 && m_index == 0))
        Stop();
}

void CPhotoViewerController::Next() {
    if (m_index + 1 < Count())
        Step(+1);
}

void CPhotoViewerController::Previous() {
    if (m_index > 0)
        Step(-1);
}

void CPhotoViewerController::Play(int direction) {
    if (playing() || !IsEnabled(direction > 0 ? kViewerPlayForward : kViewerPlayBackward))
        return;
    if (m_timers.StartTimer(kPhotoViewerTimer, kPhotoViewerInterval, this))
        m_direction = direction;
}

void CPhotoViewerController::Stop() {
    if (m_direction != 0)
        m_timers.KillTimer(kPhotoViewerTimer);
    m_direction = 0;
}

void CPhotoViewerController::OnTimer(std::uint32_t id) {
    if (id != kPhotoViewerTimer || m_direction == 0)
        return;
    Step(m_direction);
}

CRect CPhotoViewerController::PhotoArea(const CRect& client, CSize box) {
    const int left = client.left + (client.Width() - box.cx) / 2;
    const int top = client.top + (client.Height() - box.cy) / 2;
    return {left, top, left + box.cx, top + box.cy};
}

void CPhotoViewerController::Draw(IDrawingSurface& dc, const CRect& client, CSize box) const {
    const Color black = PaletteRGB(0, 0, 0);
    dc.FillRect(client, PaletteRGB(0xFF, 0xFF, 0xFF));
    dc.SetPen(1, black);
    dc.SetNullBrush();
    dc.Rectangle(client);

    CFontSpec font;
    font.face = "Arial";
    font.pointSizeTenths = 120;
    dc.SetFont(font);
    dc.SetTextColor(black);
    dc.SetTextBackground(PaletteRGB(0xFF, 0xFF, 0xFF), true);
    const CRect captionRect{client.left, client.top + 5, client.right - 5,
                            client.top + 5 + dc.Metrics().LineHeight(font)};
    dc.DrawText(captionRect, Caption(), kAlignRight | kSingleLine);

    const CRect area = PhotoArea(client, box);
    if (m_index >= 0 && m_index < Count()) {
        dc.FillRect(area, kPhotoBackground);
        m_strip.at(static_cast<std::size_t>(m_index)).DrawFullSize(dc, area);
        return;
    }
    dc.FillRect(area, kNoPhotoBackground);
    dc.SetPen(1, black);
    dc.SetNullBrush();
    dc.Rectangle(area);
}

} // namespace quorvel
