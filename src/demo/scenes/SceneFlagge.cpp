// The opening: black under the flashes, then the flag background with the first flag, which
// the second flag replaces.
#include "app/Timer.h"
#include "demo/Demo.h"
#include "demo/ShowData.h"

void Demo::SceneFlagge(RenderTarget* output) {
  const int64_t t = m_pTimer->elapsed;
  PrepareTarget(m_pRTT_1_1);
  if (t >= show::kFlagAppears) m_pQuadBack_Flagge->Render(0);
  if (t >= show::kFlagAppears && t < show::kSecondFlag) DrawScene(5, false, false);
  if (t >= show::kSecondFlag) DrawScene(6, false, false);
  FinishWith(output, m_pRTT_1_1, 100);
}
