#include "app/wizard/platform_dlg.h"

#include <mutex>
#include <vector>

#include "app/wizard/report_page.h"
#include "app/wizard/rorozo_page.h"
#include "app/wizard/time_range_page.h"

CPlatformDlg::CPlatformDlg(const WizardContext& context, QWidget* parent) : CNewWizDialog(parent) {
    setWindowTitle(QStringLiteral("操盘策略生成平台"));
    AddPage(new CTimeRangePage(kTimeRangePage, context));
    AddPage(new CTheRorozoPage(kRorozoPage, context));
    AddPage(new CTheReportPage(kReportPage, context));
    resize(680, 560);
}

bool RunStrategyWizard(const WizardContext& context, QWidget* parent) {
    CDataCenter& dc = context.dc;
    std::vector<int32_t> kept;
    {
        const std::lock_guard<std::recursive_mutex> lock(dc.DataLock());
        kept = dc.Signals();
    }
    dc.Parameters().savedInWizard = 0;
    {
        CPlatformDlg wizard(context, parent);
        wizard.exec();
    }
    if (dc.Parameters().savedInWizard != 0) return true;
    const std::lock_guard<std::recursive_mutex> lock(dc.DataLock());
    dc.Signals() = std::move(kept);
    return false;
}
