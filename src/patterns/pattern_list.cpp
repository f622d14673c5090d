// The Patterns documents' shared list handling.
#include "patterns/pattern_list.h"

#include "patterns/machine_table.h"
#include "patterns/pattern_manipulative.h"
#include "workspace/annotator.h"
#include "workspace/archive.h"
#include "workspace/manipulative_registry.h"
#include "workspace/notepad_text.h"

#include <algorithm>

namespace quorvel {

namespace {

// An entry's code, and the least any manipulative's data takes.
constexpr std::size_t kMinEntryBytes = 4 + kMinManipulativeBytes;

// The Writing tool's annotators are kept under the Patterns annotator's code.
std::int32_t StoredType(const CManipulative& m) {
    return m.GetType() == kTypeAnnotator ? kTypePatternsAnnotator : m.GetType();
}

std::unique_ptr<CManipulative> CreateStored(std::int32_t type,
                                            std::span<const std::int32_t> types) {
    if (std::find(types.begin(), types.end(), type) == types.end())
        return nullptr;
    if (type == kTypePatternsAnnotator)
        return std::make_unique<CAnnotatorManipulative>();
    return CManipulativeRegistry::Instance().Create(type);
}

} // namespace

void SerializePatternList(CArchive& ar, CUnitDocument::ManipulativeList& list,
                          std::span<const std::int32_t> types) {
    const std::size_t count =
        ar.ExchangeCount(list.size(), "manipulative count", "manipulative types", kMinEntryBytes);
    {
        CArchive::ArrayScope typeScope(ar, "manipulative types");
        if (ar.IsLoading())
            list.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            CArchive::Item item(ar, i);
            if (ar.IsStoring()) {
                const std::int32_t type = StoredType(*list[i]);
                ar.WriteInt32(type, "type");
                if (ar.IsTree())
                    ar.WriteString(CManipulativeRegistry::ClassName(type), "class");
                continue;
            }
            const std::int32_t type = ar.ReadInt32("type");
            ar.Consume("class");
            auto m = CreateStored(type, types);
            // The objects already made would never get their data: the file is refused.
            if (!m)
                ar.Fail("unknown manipulative type " + std::to_string(type), "type");
            list.push_back(std::move(m));
        }
    }
    // Every object exists before any reads its references.
    const CPatternIndex index{&list};
    CArchive::ArrayScope items(ar, "manipulatives");
    for (std::size_t i = 0; i < list.size(); ++i) {
        CArchive::Item item(ar, i);
        CManipulative& m = *list[i];
        if (ar.IsTree()) {
            if (ar.IsStoring())
                ar.WriteString(CManipulativeRegistry::ClassName(StoredType(m)), "class");
            else
                ar.Consume("class");
        }
        if (auto* p = dynamic_cast<CPatternManipulative*>(&m))
            p->SerializeLinked(ar, index);
        else
            m.Serialize(ar);
    }
    if (index.unresolved)
        ar.Fail("an index names nothing in the list", "manipulatives");
}

void DrawPatternList(IDrawingSurface& dc, const CUnitDocument::ManipulativeList& list) {
    std::vector<CManipulative*> selected;
    for (const auto& m : list) {
        if (m->selected()) {
            selected.push_back(m.get());
            m->SetSelected(false, false);
        }
    }
    // The tables' wires lie under everything.
    for (const auto& m : list)
        if (m->GetType() == kTypeTable && m->visible())
            static_cast<const CTableManipulative&>(*m).DrawWires(dc);
    for (const auto& m : list)
        if (m->visible())
            m->Draw(dc);
    for (CManipulative* m : selected)
        m->SetSelected(true, false);
}

bool DeleteManipulativesWhere(CUnitDocument& doc, bool (*doomed)(const CManipulative&)) {
    std::vector<CManipulative*> picked;
    for (const auto& m : doc.manipulatives())
        if (doomed(*m))
            picked.push_back(m.get());
    if (picked.empty())
        return false;
    doc.SetModifiedFlag();
    for (CManipulative* m : picked)
        doc.DeleteManipulative(m);
    return true;
}

void ExchangePaneOffset(CArchive& ar, CPoint& offset) {
    CArchive::Scope s(ar, "pane offset");
    ar.Exchange(offset.x, "x");
    ar.Exchange(offset.y, "y");
}

std::string ExchangeNotepadText(CArchive& ar, const std::string& kept, IDocumentHost* host) {
    std::string notepad = kept;
    if (ar.IsStoring() && host && host->Notepad())
        notepad = host->Notepad()->text();
    ar.Exchange(notepad, "notepad text");
    return notepad;
}

std::string DescribeToolAndView(int tool, CPoint offset, const CRect& view) {
    return "current tool: " + std::to_string(tool) + ", pane offset: " + std::to_string(offset.x) +
           "," + std::to_string(offset.y) + ", view: " + std::to_string(view.left) + "," +
           std::to_string(view.top) + "," + std::to_string(view.right) + "," +
           std::to_string(view.bottom);
}

} // namespace quorvel
