#include "app/serial_setup_form.h"

#include <QDialogButtonBox>
#include <QFormLayout>

namespace duri {
namespace {

QComboBox* Choice(const QStringList& items, int selected, QWidget* parent) {
  QComboBox* box = new QComboBox(parent);
  box->addItems(items);
  box->setCurrentIndex(selected);
  return box;
}

}  // namespace

TSerialSetupForm::TSerialSetupForm(const SerialSetupValues& values, const std::vector<std::string>& ports,
                                   QWidget* parent, const std::string& link)
    : QDialog(parent) {
  setWindowTitle("Setup");
  setModal(true);
  QStringList port_names;
  for (const std::string& p : ports) port_names << QString::fromStdString(p);
  if (!port_names.contains(QString::fromStdString(values.port))) port_names << QString::fromStdString(values.port);
  PortCombo = Choice(port_names, static_cast<int>(port_names.indexOf(QString::fromStdString(values.port))), this);
  QStringList rates;
  for (int i = 0; i < kBaudRateCount; ++i) {
    const int value = BaudRateValue(static_cast<TBaudRate>(i));
    rates << (value == 0 ? QString("Custom") : QString::number(value));
  }
  BaudRateCombo = Choice(rates, static_cast<int>(values.baud_rate), this);
  DataBitsCombo = Choice({"5", "6", "7", "8"}, static_cast<int>(values.data_bits), this);
  StopBitsCombo = Choice({"1", "1.5", "2"}, static_cast<int>(values.stop_bits), this);
  ParityCombo = Choice({"None", "Odd", "Even", "Mark", "Space"}, static_cast<int>(values.parity), this);
  FlowControlCombo = Choice({"Hardware", "Software", "None", "Custom"}, static_cast<int>(values.flow), this);

  LinkEdit = new QLineEdit(QString::fromStdString(link.empty() ? std::string("serial line") : link), this);
  LinkEdit->setObjectName("LinkEdit");
  LinkEdit->setReadOnly(true);

  QFormLayout* form = new QFormLayout(this);
  form->addRow("Link", LinkEdit);
  form->addRow("Port", PortCombo);
  form->addRow("Baud rate", BaudRateCombo);
  form->addRow("Data bits", DataBitsCombo);
  form->addRow("Stop bits", StopBitsCombo);
  form->addRow("Parity", ParityCombo);
  form->addRow("Flow control", FlowControlCombo);
  QDialogButtonBox* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

SerialSetupValues TSerialSetupForm::Values() const {
  SerialSetupValues v;
  v.port = PortCombo->currentText().toStdString();
  v.baud_rate = static_cast<TBaudRate>(BaudRateCombo->currentIndex());
  v.data_bits = static_cast<TDataBits>(DataBitsCombo->currentIndex());
  v.stop_bits = static_cast<TStopBits>(StopBitsCombo->currentIndex());
  v.parity = static_cast<TParityBits>(ParityCombo->currentIndex());
  v.flow = static_cast<TFlowChoice>(FlowControlCombo->currentIndex());
  return v;
}

}  // namespace duri
