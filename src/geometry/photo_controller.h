// Taking photos with the camera, editing one in the photo box, picking photos in the strip and
// its mouse and key gestures, and the photo viewer's slide show: what the geometry page's photo
// widgets drive.
#pragma once

#include "geometry/photo_strip.h"
#include "geometry/tessellation_options.h"
#include "workspace/timer_host.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvel {

class CGeometryUnitDocument;

inline constexpr const char* kOnePhotoAtATime = "Only one photo can be edited at a time.";
inline constexpr const char* kReplacePhotoBox =
    "Do you want to replace the contents of the photo box with the contents of the photo?";
inline constexpr const char* kCameraTip =
    "Click Camera to make a photo of the shapes in the photo box.";
inline constexpr const char* kMagnifyingGlassTip =
    "Click the Magnifying Glass to edit a photo in the photo box.";
inline constexpr const char* kViewerTip = "Click Viewer to see your photos full size and in order.";
inline constexpr const char* kPhotoStripTip =
    "The Photo Strip holds photos. Drag the Photo Strip to see more photos.";
inline constexpr const char* kPhotoStripPhotosTip =
    "The photos in the Photo Strip may be dragged into the photo box for editing. You may also "
    "rearrange their order in the photo strip.";

// The photo controls' ids on the page; the Help tool shows their tips.
inline constexpr int kPhotoCameraId = 1591;
inline constexpr int kPhotoMagnifierId = 1592;
inline constexpr int kPhotoViewerButtonId = 1593;
inline constexpr int kPhotoStripId = 1594;

// The tip of a photo control, or null when `id` is none of them.
const char* PhotoControlHelp(int id);

// The photo box keeps this far from the pane's left and bottom edges.
inline constexpr int kPhotoBoxInset = 10;
// The photo box on a pane of `pane` size (pane coordinates): fixed in its bottom left corner.
CRect PhotoBoxOnPane(CSize pane);
// The photo box's frame at `box` with its named tab; `lit` while a photo over it would go in.
void DrawPhotoBox(IDrawingSurface& dc, const CRect& box, bool lit);

// What the page does when the photos change.
class IPhotoWindow {
public:
    virtual ~IPhotoWindow() = default;
    virtual void ShowCamera(bool) {}
    // The strip's photos, places, picks or scroll position changed.
    virtual void StripChanged() {}
};

// The strip's keys.
enum class PhotoStripKey { Left, Right, Home, End };

enum class PhotoEdit {
    Nothing, // no photo reached the box
    TooMany, // "Only one photo can be edited at a time."
    Kept,    // the pupil kept the box's contents (Cancel)
    Edited,  // the photo's shapes are back in the box and the photo left the strip
};

class CPhotoController {
public:
    explicit CPhotoController(CGeometryUnitDocument& doc) : m_doc(doc) {}
    void SetWindow(IPhotoWindow* window) { m_window = window; }
    // The photo controls the page shows, and whether a script records or plays now.
    void SetControls(const CGeometryViewControls& controls) { m_controls = controls; }
    const CGeometryViewControls& controls() const { return m_controls; }
    void SetBusyQuery(std::function<bool()> busy) { m_busy = std::move(busy); }

    // The camera: a photo of what touches `box` (workspace coordinates), in the first free
    // place, the strip scrolled to it. The selection is cleared unless a script plays.
    CPhotoObject& TakePhoto(const CRect& box, bool scriptPlaying);
    // Photos `dropped` (strip indices) let go over `box` (workspace coordinates).
    PhotoEdit EditPhotos(const std::vector<std::size_t>& dropped, const CRect& box);

    // The photo box takes photos to edit while it shows and no script records or plays:
    // shapes a script does not know of must not appear under it.
    bool EditingAllowed() const;
    // Whether a photo let go at `onPane` on a pane of `pane` size lands in a box that takes it.
    bool BoxTakes(CPoint onPane, CSize pane) const;
    // The magnifying glass: whether it can edit now (editing allowed, a photo picked out), and
    // the photos picked out edited into `box` (workspace coordinates), Nothing while editing
    // is not allowed.
    bool CanEditPicked() const;
    PhotoEdit EditPicked(const CRect& box);
    // The strip was replaced under the page (Undo, Redo, New, Open): the page shows it anew.
    void Shown();
    // The box lights up while a dragged photo over it would go in; true when that changed.
    bool LightBox(bool lit);
    // The photo box at `box` (workspace coordinates) while it shows.
    void DrawBox(IDrawingSurface& dc, const CRect& box) const;

    // Picking: the photos picked out, in the strip's order, and the first of them or -1.
    std::vector<std::size_t> PickedPhotos() const { return Strip().Picked(); }
    int PickedPhoto() const;
    // Picks out only photo `index` (none for -1) and scrolls its place into view.
    void Pick(int index);
    // Ctrl and a click: photo `index` joins those picked out, or leaves them.
    void TogglePick(std::size_t index);
    // A key on the strip: Left and Right pick the photo before or after the picked one in the
    // places' order and Home and End the first and the last; Ctrl with Left or Right moves the
    // picked photo a place instead.
    void StripKey(PhotoStripKey key, bool ctrl);
    // The wheel over the strip, in eighths of a degree as wheels report them: a notch (120)
    // scrolls 20 pixels, and the fine steps of touchpads and smooth wheels add up to it.
    void StripWheel(int eighths);
    // Moves the picked photo `step` places, as a drag onto that place would; false when there
    // is no picked photo or no such place.
    bool MovePicked(int step);
    // "N photos", and which place is picked: what the strip says of itself.
    std::string StripDescription() const;

    // The strip's gestures, in strip coordinates before scrolling: pressing a photo drags
    // it, pressing elsewhere drags the strip along. The page calls StripDrag once the pointer
    // has gone the platform's drag distance; a press let go before that is a click.
    void StripPress(CPoint p);
    void StripDrag(CPoint p);
    // Let go over the strip: a dragged photo moves to the place under `p`; a click picks out
    // the photo pressed (none off the photos); with `ctrl` it joins or leaves those picked.
    void StripRelease(CPoint p, bool ctrl = false);
    // Let go over the photo box instead.
    PhotoEdit ReleaseOnPhotoBox(const CRect& box);
    // The photo being dragged, or -1.
    int draggedPhoto() const { return m_dragPhoto; }
    // Whether the pressed photo has moved off (it leaves a hollow), and the place it would go
    // to if let go now, or -1 (off the strip's visible part).
    bool photoMoving() const { return m_dragged && m_dragPhoto >= 0; }
    int dropPlace() const { return m_dropPlace; }

private:
    CPhotoStrip& Strip();
    const CPhotoStrip& Strip() const;
    void Changed();
    void EndGesture();
    void StepPick(int step);

    CGeometryUnitDocument& m_doc;
    IPhotoWindow* m_window = nullptr;
    CGeometryViewControls m_controls;
    std::function<bool()> m_busy;
    bool m_boxLit = false;
    bool m_pressed = false;
    bool m_dragged = false;
    int m_dragPhoto = -1;
    int m_dropPlace = -1;
    CPoint m_pressAt;
    int m_pressScroll = 0;
    int m_wheelEighths = 0; // turned but not yet scrolled
};

inline constexpr std::uint32_t kPhotoViewerTimer = 123456;
inline constexpr int kPhotoViewerInterval = 1250;
inline constexpr const char* kPhotoViewerTitle = "Photo Viewer";
inline constexpr const char* kNoPhotos = "There are no Photos";

// The viewer's buttons.
enum PhotoViewerButton : int {
    kViewerDone = 1,
    kViewerPrint = 1130,
    kViewerNext = 1134,
    kViewerPlayForward = 1135,
    kViewerPlayBackward = 1136,
    kViewerPrevious = 1137,
};

// The "Photo Viewer" dialog's state: one photo at a time, in the strip's order.
class CPhotoViewerController : public ITimerClient {
public:
    CPhotoViewerController(CPhotoStrip& strip, ITimerHost& timers);
    ~CPhotoViewerController() override;
    CPhotoViewerController(const CPhotoViewerController&) = delete;
    CPhotoViewerController& operator=(const CPhotoViewerController&) = delete;

    int index() const { return m_index; }
    bool playing() const { return m_direction != 0; }
    bool IsEnabled(int button) const;
    // "Photo #%d of %d", or "There are no Photos".
    std::string Caption() const;

    void Next();
    void Previous();
    void PlayForward() { Play(+1); }
    void PlayBackward() { Play(-1); }
    // Stops the slide show (Done, or the dialog closing).
    void Stop();
    void OnTimer(std::uint32_t id) override;

    // The client area white and framed, the caption, and the photo area of the photo box's
    // size centred: the photo full size over light blue, or grey without one.
    void Draw(IDrawingSurface& dc, const CRect& client, CSize box = kPhotoBoxSize) const;
    static CRect PhotoArea(const CRect& client, CSize box = kPhotoBoxSize);

private:
    void Play(int direction);
    void Step(int direction);
    int Count() const { return static_cast<int>(m_strip.size()); }

    CPhotoStrip& m_strip;
    ITimerHost& m_timers;
    int m_index = 0;
    int m_direction = 0;
};

} // namespace quorvel
