// Question record archive form.
#include "workspace/question.h"

#include "workspace/archive.h"

namespace quorvel {

void CQuestion::Serialize(CArchive& ar) {
    ar.Exchange(prompt, "question prompt");
    for (auto& c : choices)
        ar.Exchange(c, "question choice");
    ar.Exchange(type, "question type");
    ar.Exchange(partsMask, "question parts mask");
    ar.Exchange(answer, "answer value");
    for (auto& v : moreAnswers)
        ar.Exchange(v, "answer value");
}

} // namespace quorvel
