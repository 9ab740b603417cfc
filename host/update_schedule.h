// UpdateSchedule: the fixed-rate updates of one frame, shared by every host's frame loop.
// Depends on the host game (its rate, its suspension and its guarded update). A host renders, gathers its
// events, and then asks the schedule to run the updates that are due: at most four, catching up with a clock
// that runs ahead in whole update periods from the moment the schedule (re)started, and dropping any backlog
// beyond that, so a slow frame slows the game down instead of making it race. The desktop's loop sleeps until
// the next update is due; a browser calls the same phase from each animation frame.
// NOTE: a time of exactly 0.0 means no schedule is running: the next update phase starts one from its clock.
#pragma once

#include "host/kpgame.h"

class UpdateSchedule {
public:
    // The most updates one frame runs before the backlog is dropped.
    static constexpr int kMostUpdatesPerFrame = 4;

    // A new rate (updates per second; 0: one update a frame) restarts the schedule at the next update phase.
    void SetRate(int hertz) {
        if (hertz != 0) period_ = 1.0 / hertz;
        next_ = 0.0;
    }
    // Restarts the schedule at the next update phase (after a suspension, or a backlog dropped).
    void Restart() { next_ = 0.0; }
    // The window (or the page) became active or inactive: the game is suspended or resumed to match, and the
    // schedule restarts at the next update phase.
    void FollowActivity(KpGame& game, bool active) {
        if (active != game.Suspended()) return;
        if (active) {
            game.ResumeGame();
        } else {
            game.SuspendGame();
        }
        Restart();
    }
    bool Running() const { return next_ != 0.0; }
    // Seconds from now until the next update is due; 0 when it is due already or no schedule runs.
    double WaitFrom(double now) const { return next_ != 0.0 && next_ > now ? next_ - now : 0.0; }

    // The update phase of one frame: nothing while the game is suspended; one update at a rate of 0; otherwise
    // every update due by clock(), at most kMostUpdatesPerFrame. An update that changes the rate or suspends
    // the game ends the phase at once.
    template <class Clock>
    void RunUpdates(KpGame& game, Clock clock) {
        if (game.Suspended()) return;
        if (game.UpdateRate() == 0) {
            game.UpdateGame();
            return;
        }
        if (next_ == 0.0) next_ = clock();
        for (int updates = 1;; ++updates) {
            game.UpdateGame();
            if (next_ == 0.0) return;  // the update changed the rate or suspended: restart next frame
            next_ += period_;
            if (next_ > clock()) return;
            if (updates == kMostUpdatesPerFrame) {
                // More than four periods behind: drop the backlog and restart the schedule after the next render.
                next_ = 0.0;
                return;
            }
        }
    }

private:
    double period_ = 0.0;  // seconds between updates
    double next_ = 0.0;    // the clock's time at which the next update is due; 0.0: no schedule
};
