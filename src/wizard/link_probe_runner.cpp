// The live link probes sent: here's adapters asked for their state, then every target's echoes at once.
#include "wizard/link_probe_runner.h"

#include <array>
#include <thread>
#include <vector>

namespace {
struct EchoOutcome {
  Status status = status::IpReqTimedOut;
  std::uint32_t roundTripMs = 0;
};
}  // namespace

LinkProbeResults RunLinkProbes(const ProbePlan& plan, Network& network, Machine& machine) {
  LinkProbeResults results;
  results.plan = plan;
  for (const AdapterProbe& adapter : plan.adapters) {
    bool connected = false;
    const Status rc = network.QueryAdapterConnected(adapter.guid, &connected);
    AdapterState state = AdapterState::Unknown;
    if (rc == status::Success) state = connected ? AdapterState::Connected : AdapterState::Disconnected;
    results.adapters.push_back({adapter, state, rc});
  }
  for (const ProbeTarget& target : plan.targets) {
    TargetResult result;
    result.target = target;
    // An echo from a disconnected adapter can't leave it; the adapter's own finding says why.
    result.sent = AdapterStateOf(results, target.link) != AdapterState::Disconnected;
    results.targets.push_back(std::move(result));
  }

  // Each slot is written by its own thread alone and read after every thread has been joined.
  std::vector<std::array<EchoOutcome, kEchoesPerTarget>> outcomes(results.targets.size());
  std::vector<std::thread> echoes;
  for (int round = 0; round < kEchoesPerTarget; ++round) {
    if (round > 0) machine.Sleep(kEchoIntervalMs);
    for (std::size_t i = 0; i < results.targets.size(); ++i) {
      const TargetResult& result = results.targets[i];
      if (!result.sent) continue;
      EchoOutcome& outcome = outcomes[i][static_cast<std::size_t>(round)];
      echoes.emplace_back([&network, &result, &outcome] {
        outcome.status = network.Echo(result.target.from, result.target.to, kEchoTimeoutMs, &outcome.roundTripMs);
      });
    }
  }
  for (std::thread& echo : echoes) echo.join();

  for (std::size_t i = 0; i < results.targets.size(); ++i) {
    TargetResult& result = results.targets[i];
    if (!result.sent) continue;
    for (const EchoOutcome& outcome : outcomes[i]) {
      if (outcome.status == status::Success) {
        ++result.answered;
        result.roundTripsMs.push_back(outcome.roundTripMs);
      } else {
        result.lastError = outcome.status;
      }
    }
  }
  return results;
}
