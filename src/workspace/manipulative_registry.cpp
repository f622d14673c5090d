// Type-code registry and the manipulative list form shared by documents and groups.
#include "workspace/manipulative_registry.h"

#include "workspace/annotator.h"
#include "workspace/archive.h"

#include <algorithm>

namespace quorvel {

CManipulativeRegistry& CManipulativeRegistry::Instance() {
    static CManipulativeRegistry registry = [] {
        CManipulativeRegistry r;
        r.Register(kTypeLine, [] { return std::make_unique<CLineManipulative>(); });
        r.Register(kTypeAnnotator, [] { return std::make_unique<CAnnotatorManipulative>(); });
        r.Register(kTypeStaticAnnotator,
                   [] { return std::make_unique<CStaticAnnotatorManipulative>(); });
        return r;
    }();
    return registry;
}

void CManipulativeRegistry::Register(std::int32_t type, Factory factory) {
    m_factories[type] = std::move(factory);
}

std::unique_ptr<CManipulative> CManipulativeRegistry::Create(std::int32_t type) const {
    const auto it = m_factories.find(type);
    if (it == m_factories.end())
        return nullptr;
    return it->second();
}

std::string CManipulativeRegistry::ClassName(std::int32_t type) {
    switch (type) {
    case kTypeLine:
        return "CLineManipulative";
    case kTypeShape:
        return "CShapeManipulative";
    case kTypePolyShape:
        return "CPolyShapeManipulative";
    case kTypeAnglemeter:
        return "CAnglemeterManipulative";
    case kTypeAnnotator:
        return "CAnnotatorManipulative";
    case kTypePicture:
        return "CPictureManipulative";
    case kTypeNoteCard:
        return "CNoteCardManipulative";
    case kTypeShiftMachine:
        return "CShiftMachineManipulative";
    case kTypeKeywordMachine:
        return "CKeywordMachineManipulative";
    case kTypeGroupMachine:
        return "CGroupMachineManipulative";
    case kTypeNumberMachine:
        return "CNumberMachineManipulative";
    case kTypeMachineLink:
        return "CMachineLinkManipulative";
    case kTypeNumberCard:
        return "CNumberCardManipulative";
    case kTypeTable:
        return "CTableManipulative";
    case kTypePatternsAnnotator:
        return "CPatternsAnnotatorManipulative";
    case kTypeStaticAnnotator:
        return "CStaticAnnotatorManipulative";
    default:
        return "type " + std::to_string(type);
    }
}

void WriteManipulative(CArchive& ar, const CManipulative& m, const CManipulativeForm& form) {
    ar.WriteInt32(m.GetType(), "type");
    if (ar.IsTree())
        ar.WriteString(CManipulativeRegistry::ClassName(m.GetType()), "class");
    if (form.tabAfterType)
        ar.WriteTab();
    // Serialize is symmetric and does not change the object while storing.
    const_cast<CManipulative&>(m).Serialize(ar);
}

std::unique_ptr<CManipulative> ReadManipulative(CArchive& ar, const CManipulativeForm& form) {
    const std::int32_t type = ar.ReadInt32("type");
    ar.Consume("class");
    const bool held = form.types.empty() ||
                      std::find(form.types.begin(), form.types.end(), type) != form.types.end();
    auto m = held ? CManipulativeRegistry::Instance().Create(type) : nullptr;
    if (!m) {
        if (form.unknown == UnknownType::EndsTheList && !ar.IsTree())
            return nullptr;
        ar.Fail("unknown manipulative type " + std::to_string(type), "type");
    }
    if (form.tabAfterType)
        ar.SkipTab();
    m->Serialize(ar);
    return m;
}

void WriteManipulatives(CArchive& ar, const std::vector<std::unique_ptr<CManipulative>>& list,
                        const char* arrayName) {
    CArchive::NestingGuard guard(ar);
    ar.ExchangeCount(list.size(), "manipulative count", arrayName, 0);
    CArchive::ArrayScope items(ar, arrayName);
    for (std::size_t i = 0; i < list.size(); ++i) {
        CArchive::Item item(ar, i);
        WriteManipulative(ar, *list[i]);
    }
}

void ReadManipulatives(CArchive& ar, std::vector<std::unique_ptr<CManipulative>>& out,
                       const char* arrayName) {
    CArchive::NestingGuard guard(ar);
    const std::size_t n =
        ar.ExchangeCount(0, "manipulative count", arrayName, 4 + kMinManipulativeBytes);
    out.reserve(out.size() + n);
    CArchive::ArrayScope items(ar, arrayName);
    for (std::size_t i = 0; i < n; ++i) {
        CArchive::Item item(ar, i);
        out.push_back(ReadManipulative(ar));
    }
}

} // namespace quorvel
