// The camera, the photo box's place, drawing and editing, picking in the strip, the strip's
// drags and keys, and the viewer's slide show.
#include "geometry/photo_controller.h"

#include "geometry/geometry_document.h"
#include "workspace/document_host.h"
#include "workspace/prompter.h"

#include <algorithm>
#include <cstdio>

namespace quorvel {

namespace {

constexpr const char* kPhotoBoxCaption = "Photo Box";
constexpr Color kBoxFrame = PaletteRGB(0x2D, 0x30, 0x47);
constexpr Color kBoxInner = PaletteRGB(0xFF, 0xFF, 0xFF);
constexpr Color kBoxLit = PaletteRGB(0xFF, 0xC8, 0x00);

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

CRect PhotoBoxOnPane(CSize pane) {
    const int top = pane.cy - kPhotoBoxInset - kPhotoBoxSize.cy;
    return {kPhotoBoxInset, top, kPhotoBoxInset + kPhotoBoxSize.cx, top + kPhotoBoxSize.cy};
}

void DrawPhotoBox(IDrawingSurface& dc, const CRect& box, bool lit) {
    // A white frame with a dark edge shows on the light blue and over any shape.
    dc.SetNullBrush();
    dc.SetPen(lit ? 4 : 2, lit ? kBoxLit : kBoxInner);
    CRect inner = box;
    inner.Inflate(-1, -1);
    dc.Rectangle(inner);
    dc.SetPen(1, kBoxFrame);
    dc.Rectangle(box);

    // A tab on its top edge names it.
    CFontSpec font;
    font.pixelHeight = 11;
    font.weight = 700;
    const CSize text = dc.Metrics().TextExtent(font, kPhotoBoxCaption);
    const CRect tab{box.left, box.top - text.cy - 3, box.left + text.cx + 12, box.top + 1};
    dc.SetBrush(kBoxInner);
    dc.SetPen(1, kBoxFrame);
    dc.Rectangle(tab);
    dc.SetFont(font);
    dc.SetTextColor(kBoxFrame);
    dc.SetTextBackground(kBoxInner, true);
    dc.DrawText(tab, kPhotoBoxCaption, kAlignCenter | kAlignVCenter | kSingleLine);
}

CPhotoStrip& CPhotoController::Strip() {
    return m_doc.photoStrip();
}

const CPhotoStrip& CPhotoController::Strip() const {
    return m_doc.photoStrip();
}

void CPhotoController::Changed() {
    m_doc.SetModifiedFlag();
    Shown();
}

void CPhotoController::Shown() {
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
        auto copy = PhotoCopy(*m);
        copy->MoveBy(dx, dy);
        m_doc.AddManipulative(std::move(copy));
    }
    if (m_window)
        m_window->ShowCamera(m_doc.viewControls().photoFeatures == kPhotoShowAll);
    Changed();
    return PhotoEdit::Edited;
}

// --- the photo box ---------------------------------------------------------------------------

bool CPhotoController::EditingAllowed() const {
    return m_controls.photoBox && !(m_busy && m_busy());
}

bool CPhotoController::BoxTakes(CPoint onPane, CSize pane) const {
    return EditingAllowed() && PhotoBoxOnPane(pane).Contains(onPane);
}

bool CPhotoController::CanEditPicked() const {
    return EditingAllowed() && PickedPhoto() >= 0;
}

PhotoEdit CPhotoController::EditPicked(const CRect& box) {
    if (!EditingAllowed())
        return PhotoEdit::Nothing;
    return EditPhotos(PickedPhotos(), box);
}

bool CPhotoController::LightBox(bool lit) {
    if (lit == m_boxLit)
        return false;
    m_boxLit = lit;
    return true;
}

void CPhotoController::DrawBox(IDrawingSurface& dc, const CRect& box) const {
    if (m_controls.photoBox)
        DrawPhotoBox(dc, box, m_boxLit);
}

// --- picking ---------------------------------------------------------------------------------

int CPhotoController::PickedPhoto() const {
    const std::vector<std::size_t> picked = PickedPhotos();
    return picked.empty() ? -1 : static_cast<int>(picked.front());
}

void CPhotoController::Pick(int index) {
    CPhotoStrip& strip = Strip();
    for (std::size_t i = 0; i < strip.size(); ++i)
        strip.at(i).SetSelected(static_cast<int>(i) == index);
    if (index >= 0 && static_cast<std::size_t>(index) < strip.size())
        strip.ScrollToPlace(strip.at(static_cast<std::size_t>(index)).stripPlace());
    Shown();
}

void CPhotoController::TogglePick(std::size_t index) {
    if (index >= Strip().size())
        return;
    CPhotoObject& photo = Strip().at(index);
    photo.SetSelected(!photo.selected());
    Shown();
}

void CPhotoController::StepPick(int step) {
    const std::vector<std::size_t> order = Strip().PlaceOrder();
    if (order.empty())
        return;
    const int picked = PickedPhoto();
    const auto it = std::find(order.begin(), order.end(), static_cast<std::size_t>(picked));
    // With nothing picked, a step forward starts at the first photo and one back at the last.
    int at = it == order.end() ? (step > 0 ? -1 : static_cast<int>(order.size()))
                               : static_cast<int>(it - order.begin());
    at = std::clamp(at + step, 0, static_cast<int>(order.size()) - 1);
    Pick(static_cast<int>(order[static_cast<std::size_t>(at)]));
}

bool CPhotoController::MovePicked(int step) {
    const int picked = PickedPhoto();
    if (picked < 0)
        return false;
    const int from = Strip().at(static_cast<std::size_t>(picked)).stripPlace();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= kPhotoStripPlaces)
        return false;
    m_doc.MarkUndoStep();
    Strip().MoveToPlace(static_cast<std::size_t>(picked), to);
    Strip().ScrollToPlace(to);
    Changed();
    return true;
}

void CPhotoController::StripWheel(int eighths) {
    constexpr int kNotch = 120;
    constexpr int kNotchPixels = 20;
    m_wheelEighths += eighths;
    const int pixels = m_wheelEighths * kNotchPixels / kNotch;
    if (pixels == 0)
        return;
    m_wheelEighths -= pixels * kNotch / kNotchPixels;
    Strip().ScrollTo(Strip().scroll() - pixels);
}

void CPhotoController::StripKey(PhotoStripKey key, bool ctrl) {
    switch (key) {
    case PhotoStripKey::Left:
    case PhotoStripKey::Right: {
        const int step = key == PhotoStripKey::Left ? -1 : +1;
        if (ctrl)
            MovePicked(step);
        else
            StepPick(step);
        break;
    }
    case PhotoStripKey::Home:
        StepPick(-kPhotoStripPlaces - 1);
        break;
    case PhotoStripKey::End:
        StepPick(kPhotoStripPlaces + 1);
        break;
    }
}

std::string CPhotoController::StripDescription() const {
    const std::size_t count = Strip().size();
    std::string text = count == 1 ? "1 photo" : std::to_string(count) + " photos";
    if (const int picked = PickedPhoto(); picked >= 0)
        text += ", photo in place " +
                std::to_string(Strip().at(static_cast<std::size_t>(picked)).stripPlace() + 1) +
                " picked";
    return text;
}

// --- the strip's gestures --------------------------------------------------------------------

void CPhotoController::StripPress(CPoint p) {
    m_pressed = true;
    m_dragged = false;
    m_dropPlace = -1;
    m_pressAt = p;
    m_pressScroll = Strip().scroll();
    m_dragPhoto = Strip().PhotoAt({p.x + Strip().scroll(), p.y});
}

void CPhotoController::StripDrag(CPoint p) {
    if (!m_pressed)
        return;
    m_dragged = true;
    if (m_dragPhoto >= 0) {
        const CRect shown{0, 0, Strip().visibleWidth(), Strip().stripRect().Height()};
        m_dropPlace = shown.Contains(p) ? Strip().PlaceAt({p.x + Strip().scroll(), p.y}) : -1;
        return;
    }
    const int before = Strip().scroll();
    Strip().ScrollTo(m_pressScroll - (p.x - m_pressAt.x));
    if (Strip().scroll() != before)
        Shown();
}

void CPhotoController::EndGesture() {
    m_pressed = false;
    m_dragged = false;
    m_dragPhoto = -1;
    m_dropPlace = -1;
}

void CPhotoController::StripRelease(CPoint p, bool ctrl) {
    const int photo = m_dragPhoto;
    const bool click = m_pressed && !m_dragged;
    EndGesture();
    // The photo pressed, wherever a move puts it in the strip's order.
    const CPhotoObject* pressed =
        photo >= 0 ? &Strip().at(static_cast<std::size_t>(photo)) : nullptr;
    if (photo >= 0) {
        const int place = Strip().PlaceAt({p.x + Strip().scroll(), p.y});
        if (place >= 0 && place != pressed->stripPlace()) {
            m_doc.MarkUndoStep();
            Strip().MoveToPlace(static_cast<std::size_t>(photo), place);
            Changed();
        }
    }
    if (!click)
        return;
    const int index = Strip().IndexOf(pressed);
    if (ctrl && index >= 0)
        TogglePick(static_cast<std::size_t>(index));
    else
        Pick(index);
}

PhotoEdit CPhotoController::ReleaseOnPhotoBox(const CRect& box) {
    const int photo = m_dragPhoto;
    EndGesture();
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
