#pragma once

#include "Platform/MouseMoving.h"

#include <gmock/gmock.h>

namespace tremlor::testing {

// Every call of the poster as a GoogleMock method; subclasses set the defaults they need.
class MouseMovingMock : public MouseMoving {
public:
    MOCK_METHOD(void, click, (QPointF at), (override));
    MOCK_METHOD(void, pressKey, (quint16 keyCode), (override));
    MOCK_METHOD(void, moveCursor, (QPointF to), (override));
    MOCK_METHOD(void, postKey, (quint16 keyCode, bool down), (override));
    MOCK_METHOD(void, scroll, (int verticalPixels, int horizontalPixels), (override));
    MOCK_METHOD(QPointF, cursorLocation, (), (override));
    MOCK_METHOD(QRectF, displayBounds, (QPointF point), (override));
    MOCK_METHOD(QRectF, screenBounds, (), (override));
    MOCK_METHOD(void, releaseAll, (), (override));
};

} // namespace tremlor::testing
