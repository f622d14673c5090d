// Question record archive form.
#include "workspace/question.h"

#include "workspace/archive.h"

namespace quorvel {

void CQuestion::Serialize(CArchive& ar) {
    ar.Exchange(prompt, "prompt");
    ar.ExchangeArray(choices, "choices");
    ar.Exchange(type, "type");
    ar.Exchange(partsMask, "parts mask");
    ar.Exchange(answer, "answer value");
    ar.ExchangeArray(moreAnswers, "more answer values");
}

} // namespace quorvel
