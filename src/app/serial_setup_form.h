// TSerialSetupForm: the "Setup" dialog of the "Port settings" button. Six choices pre-set from the port;
// OK applies them together, Cancel changes nothing. A port bound to a network link in the station's link
// file shows that link, read-only: the link file is written by the command-line tool, and the line
// settings are kept for the day the port goes back to its serial line.
#ifndef DURIDUVAZE_APP_SERIAL_SETUP_FORM_H_
#define DURIDUVAZE_APP_SERIAL_SETUP_FORM_H_

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <vector>

#include "transport/serial_port.h"

namespace duri {

class TSerialSetupForm : public QDialog {
 public:
  // ports: the names the port choice offers. link: the port's network link, "" for its serial line.
  TSerialSetupForm(const SerialSetupValues& values, const std::vector<std::string>& ports, QWidget* parent,
                   const std::string& link = "");
  SerialSetupValues Values() const;

  QComboBox* PortCombo;
  QComboBox* BaudRateCombo;
  QComboBox* DataBitsCombo;
  QComboBox* StopBitsCombo;
  QComboBox* ParityCombo;
  QComboBox* FlowControlCombo;
  QLineEdit* LinkEdit;
};

}  // namespace duri

#endif  // DURIDUVAZE_APP_SERIAL_SETUP_FORM_H_
