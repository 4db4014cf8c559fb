// What the code expects of a resource file: every control it addresses, with
// its kind. The resource consistency test checks these against the files.
#pragma once

struct ExpectedControl {
    int panelNumber;
    int ctrlId;
    const char* kind;  // as reported by InspectResource
};
