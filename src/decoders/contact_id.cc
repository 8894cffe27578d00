#include "decoders/contact_id.h"

namespace duri {
namespace {

constexpr int kQualifierPos = 7;
constexpr int kEventPos = 8;
constexpr int kGroupPos = 11;
constexpr int kZonePos = 13;

char CompressedQualifier(char event_class, char qualifier) {
  switch (event_class) {
    case '1':
    case '2':
    case '6':
      return qualifier == 'E' ? 'A' : qualifier;
    case '3':
      return qualifier == 'E' ? 'T' : qualifier;
    case '4':
      if (qualifier == 'E') return 'O';
      return qualifier == 'R' ? 'C' : qualifier;
    case '5':
      return qualifier == 'E' ? 'B' : 'R';
    default:
      return qualifier;
  }
}

}  // namespace

void ContactIdFull(MessageText& text) { text.Delete(kGroupPos, 2); }

void ContactIdCompressed(MessageText& text) {
  char event_class = text.At(kEventPos);
  if (text.Copy(kZonePos, 3) == "000") {
    text.Delete(kGroupPos, 5);
  } else {
    text.Delete(kEventPos, 5);
  }
  text.SetAt(kQualifierPos, CompressedQualifier(event_class, text.At(kQualifierPos)));
}

void ContactIdTranslate(MessageText& text, const ReceiverConfig& config) {
  if (config.compress_cid != 0) {
    ContactIdCompressed(text);
  } else {
    ContactIdFull(text);
  }
}

}  // namespace duri
