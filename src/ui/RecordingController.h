#pragma once

namespace orv {

// Macro recording, started and stopped from the record control of the advanced page.
class RecordingController {
public:
    virtual ~RecordingController() = default;

    virtual void ToggleRecording() = 0;
    // The advanced page is being left: a running recording ends there, so the keyboard never
    // stays captured with nothing on screen to stop it. Nothing happens when none runs.
    virtual void StopRecording() = 0;
};

}  // namespace orv
