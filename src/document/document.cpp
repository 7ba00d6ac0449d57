#include "document/document.h"

namespace zelkon {

Document::Document() {
    data_.SetModifiedHook([this] { MarkModified(); });
}

void Document::MarkModified() {
    needsRecalculation_ = true;
    modified_ = true;
}

void Document::Reset() {
    data_.Reset();
    choices_.Reset();
    graph_.Reset();
    report_.Reset();
    notes_.clear();
    regressionLine_ = RegressionLineResult{};
    multipleRegression_ = MultipleRegressionResult{};
    errorCode_ = 0;
    resultJson_.clear();
    needsRecalculation_ = true;
}

}  // namespace zelkon
