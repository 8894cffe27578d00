// BufferedLink: the common part of the network links. The network thread hands in what the peer sent
// (Deliver); the bytes wait in memory, as they would in a serial driver's receive queue, until the
// port's reader takes them with InputCount and ReadStr. The receive event is queued on the
// user-interface thread when bytes come, and again every kRecheckMs while they stay unread (the
// port's reader was busy when they came and ignored the event). Subclasses carry the bytes: they
// implement Open, Close, Connected, WriteStr and LinkName, and call Deliver, MarkBreak and
// NotifyState from the network thread.
#ifndef DURIDUVAZE_TRANSPORT_BUFFERED_LINK_H_
#define DURIDUVAZE_TRANSPORT_BUFFERED_LINK_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "transport/port_link.h"

namespace duri {

class NetService;

class BufferedLink : public PortLink {
 public:
  // Bytes left unread before the link stops taking more from its peer (see ReadPaused).
  static constexpr size_t kMaxWaiting = 64 * 1024;
  static constexpr int kRecheckMs = 100;

  explicit BufferedLink(NetService& net);
  // Subclasses call StopEvents in their own destructor, before their network state goes.
  ~BufferedLink() override;

  bool IsNetworkLink() const override { return true; }
  void SetHandlers(UiThread* ui, ReceiveHandler on_receive, LinkStateHandler on_state) override;
  int InputCount() override;
  int ReadStr(std::string& text, int count) override;
  LineErrors LastErrors() override;
  void ReaderReady() override { Raise(shared_); }

 protected:
  NetService& net() { return net_; }
  // Starts raising events (Open); stops them and drops what waits (Close). Events already queued on
  // the user-interface thread do nothing once stopped.
  void StartEvents();
  void StopEvents();
  // From the network thread.
  void Deliver(std::string_view bytes);
  void MarkBreak();
  void NotifyState(LinkChange change);
  // True while kMaxWaiting bytes or more wait: the subclass reads no more from its peer until
  // InputTaken tells it the reader made room.
  bool ReadPaused() const;
  // After ReadStr took bytes, on the reader's thread.
  virtual void InputTaken() {}

 private:
  struct Shared;
  static void Raise(const std::shared_ptr<Shared>& shared);
  static void Fire(const std::shared_ptr<Shared>& shared);
  static void ArmRecheck(const std::shared_ptr<Shared>& shared);

  NetService& net_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_BUFFERED_LINK_H_
