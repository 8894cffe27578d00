// TSerialSetupForm: the "Setup" dialog of the "Port settings" button. Six choices pre-set from the port;
// OK applies them together, Cancel changes nothing.
#ifndef DURIDUVAZE_APP_SERIAL_SETUP_FORM_H_
#define DURIDUVAZE_APP_SERIAL_SETUP_FORM_H_

#include <QComboBox>
#include <QDialog>
#include <vector>

#include "transport/serial_port.h"

namespace duri {

class TSerialSetupForm : public QDialog {
 public:
  // ports: the names the port choice offers.
  TSerialSetupForm(const SerialSetupValues& values, const std::vector<std::string>& ports, QWidget* parent);
  SerialSetupValues Values() const;

  QComboBox* PortCombo;
  QComboBox* BaudRateCombo;
  QComboBox* DataBitsCombo;
  QComboBox* StopBitsCombo;
  QComboBox* ParityCombo;
  QComboBox* FlowControlCombo;
};

}  // namespace duri

#endif  // DURIDUVAZE_APP_SERIAL_SETUP_FORM_H_
