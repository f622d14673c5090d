// Type-code registry and the manipulative list form shared by documents and groups.
#include "workspace/manipulative_registry.h"

#include "workspace/archive.h"

namespace quorvel {

CManipulativeRegistry& CManipulativeRegistry::Instance() {
    static CManipulativeRegistry registry = [] {
        CManipulativeRegistry r;
        r.Register(kTypeLine, [] { return std::make_unique<CLineManipulative>(); });
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

void WriteManipulative(CArchive& ar, const CManipulative& m) {
    ar.WriteInt32(m.GetType());
    // Serialize is symmetric and does not change the object while storing.
    const_cast<CManipulative&>(m).Serialize(ar);
}

std::unique_ptr<CManipulative> ReadManipulative(CArchive& ar) {
    const std::int32_t type = ar.ReadInt32("manipulative type");
    auto m = CManipulativeRegistry::Instance().Create(type);
    if (!m)
        ar.Fail("unknown manipulative type " + std::to_string(type), "manipulative type");
    m->Serialize(ar);
    return m;
}

void WriteManipulatives(CArchive& ar, const std::vector<std::unique_ptr<CManipulative>>& list) {
    CArchive::NestingGuard guard(ar);
    ar.WriteInt32(static_cast<std::int32_t>(list.size()));
    for (const auto& m : list)
        WriteManipulative(ar, *m);
}

void ReadManipulatives(CArchive& ar, std::vector<std::unique_ptr<CManipulative>>& out) {
    CArchive::NestingGuard guard(ar);
    const std::size_t n = ar.ReadCount("manipulative count", 4 + kMinManipulativeBytes);
    out.reserve(out.size() + n);
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(ReadManipulative(ar));
}

} // namespace quorvel
