// Link supervision, the step the automatic-test thread TThreadAutoph runs (see PeriodicWork). Once a minute every supervised
// receiver port that produced no decoded message since the previous check gets a communication-loss
// event ("0000 ACOMn"), and the first check that finds messages again posts the restore ("0000 RCOMn").
// Ademco 685 and FBI CP220 receivers are asked for their status ("S") at each check while idle.
//
// A port is supervised from the moment OpenReceiverPort arms it (link_alarm 0); the decoders of the
// supervised types set link_activity for every message they take.
#ifndef DURIDUVAZE_INTAKE_LINK_SUPERVISION_H_
#define DURIDUVAZE_INTAKE_LINK_SUPERVISION_H_

#include <string>

namespace duri {

class Station;

// The minute of the last check before the first one.
inline constexpr int kNoSupervisionCheck = 99;
inline constexpr char kStatusPoll[] = "S";

// "0000 ACOM3\r" and "0000 RCOM3\r": one event line each, account 0000.
std::string LinkLossText(int port);
std::string LinkRestoreText(int port);

// The supervision step, on the user-interface thread. Does nothing while the company's link
// supervision switch is 0 or when the clock's minute is the one of the last check.
void SuperviseLinks(Station& station);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_LINK_SUPERVISION_H_
