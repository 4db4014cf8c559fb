// A place on a panel in client-area pixels: where the detail and stacking
// windows put the elements they create at run time.
#pragma once

struct PanelRect {
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;  // 0: the toolkit's default height
};
