#include "game/MenuPanel.h"

namespace MenuPanel {

int Slide(int left, int pointerX)
{
    if (left < pointerX) {
        for (int i = 0; i < StepsIn; ++i) {
            if (left > ShownLeft)
                left -= StepPixels;
        }
    } else if (left > pointerX) {
        for (int i = 0; i < StepsOut; ++i) {
            if (left < HiddenLeft)
                left += StepPixels;
        }
    }
    return left;
}

} // namespace MenuPanel
