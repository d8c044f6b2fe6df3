// The directions of navigation among elements, shared by the accessibility bridge (where a
// client's navigation leads) and keyboard navigation (the arrow keys, in the order VK_LEFT,
// VK_UP, VK_RIGHT, VK_DOWN, then the tree order).
#pragma once

enum TcxAccessibilityNavigationDirection : int {
  andLeft = 0,
  andUp = 1,
  andRight = 2,
  andDown = 3,
  andPrev = 4,
  andNext = 5,
};
