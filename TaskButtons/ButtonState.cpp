// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/ButtonState.h"

namespace TaskButtons {

void ButtonState::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    emit isLoadingChanged(loading);
}

void ButtonState::setFractionCompleted(std::optional<double> fraction) {
    if (fraction == fraction_)
        return;
    fraction_ = fraction;
    emit fractionCompletedChanged();
}

void ButtonState::setErrorCount(int count) {
    if (count == errorCount_)
        return;
    errorCount_ = count;
    emit errorCountChanged(count);
}

} // namespace TaskButtons
