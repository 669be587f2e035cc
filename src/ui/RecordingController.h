#pragma once

namespace orv {

// Macro recording, started and stopped from the record control of the advanced page.
class RecordingController {
public:
    virtual ~RecordingController() = default;

    virtual void ToggleRecording() = 0;
    // Ends a running recording as the record control would; nothing happens when none runs.
    // Called wherever the keyboard must be given back: the advanced page is left or the window
    // hides (it must never stay captured with nothing on screen to stop it), the program ends,
    // the user macros are about to be reloaded (defaults, language switch), a file dialog opens.
    virtual void StopRecording() = 0;
};

}  // namespace orv
