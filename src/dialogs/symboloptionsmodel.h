// The symbol options dialog without widgets: its working values, the lists
// and grids it rebuilds, what each edit recomputes, the readouts, the checks
// of OK in their order and what OK stores.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dialogs/dialogmodel.h"
#include "geometry/dimensionmodel.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"

namespace vg {

class InputBar;

// Controls of the symbol options dialog (152).
namespace sod {
inline constexpr int kMethod = 1051;
inline constexpr int kDpi = 1052;
inline constexpr int kRatioList = 1053;
inline constexpr int kBwr = 1054;
inline constexpr int kWidth = 1055;
inline constexpr int kMagnification = 1056;
inline constexpr int kX = 1057;
inline constexpr int kBarHeight = 1058;
inline constexpr int kBearer = 1059;
inline constexpr int kBwrReadout = 1060;
inline constexpr int kNarrowBar = 1061;
inline constexpr int kQuietZone = 1062;
inline constexpr int kRatio = 1063;
inline constexpr int kXList = 1064;
inline constexpr int kBwrUnit = 1065;
inline constexpr int kUnit = 1066;
inline constexpr int kReadoutUnit = 1067;
inline constexpr int kGs = 1068;
inline constexpr int kVerification = 1069;
}  // namespace sod

// Verification-mark calibration of a resolution.
int GsCalibrationDefault(int dpi);

class SymbolOptionsModel {
public:
    // Opens on the record (some edits write X-dimension and ratio into it at
    // once) and the current bar pattern.
    SymbolOptionsModel(SettingsRecord& record, std::string pattern);

    // Layout.
    int Method() const { return m_method; }
    bool MethodFixed() const;  // FIM, POSTNET, the text-only group
    bool ListsShown() const;   // the X list (and for ratio families the ratio list)
    bool RatioListShown() const;
    bool ReadOnly(int control) const;
    bool VerificationEnabled() const;

    // Text of an edit or static.
    std::string Text(int control) const;
    const std::vector<int>& DpiList() const { return m_dpiList; }
    int Dpi() const { return m_dpi; }
    double X() const { return m_x; }
    double DotSize() const { return m_dot; }
    int Verification() const { return m_verification; }
    const std::vector<XDimensionRow>& XRows() const { return m_rows; }
    int SelectedXRow() const { return m_row; }
    std::string XRowText(std::size_t row) const;
    const std::vector<double>& Ratios() const { return m_ratios; }
    int SelectedRatio() const { return m_ratioRow; }

    // Edits. Each returns the message the dialog shows at once, if any.
    // ChooseMethod comes after the user confirmed the method message (61215);
    // a failed check keeps the old method.
    DialogCheck ChooseMethod(int method);
    DialogCheck TypeDpi(const std::string& text);
    void ChooseDpi(int dpi);
    DialogCheck OpenDpiList();  // the typed value joins the list
    void ChooseXRow(int row);
    void ChooseRatio(int row);
    DialogCheck TypeX(const std::string& text);
    DialogCheck TypeMagnification(const std::string& text);
    DialogCheck TypeSymbolWidth(const std::string& text);
    DialogCheck TypeRatio(std::string text);
    DialogCheck TypeBwr(const std::string& text);
    DialogCheck TypeBarHeight(const std::string& text);
    DialogCheck TypeBearer(const std::string& text);
    void ChooseVerification(int item);
    void TypeGsCalibration(const std::string& text);

    // The checks of OK in their order; the first failure.
    DialogCheck Check() const;
    // Checks, then stores into the record. On a refusal nothing is stored.
    DialogCheck Ok();

private:
    bool TextOnly() const;
    bool FixedDims() const;  // FIM, POSTNET
    int Unit() const { return m_s.UnitOfMeasure; }
    void Layout();
    void Recompute();
    void SelectRow();
    void SelectRatio();
    void ResetBwr();
    void Refresh();
    void ZeroDisplay();
    double EditRatio() const;
    bool RatioValid() const;
    double BwrPoints() const;
    void Set(int control, std::string text) { m_texts[control] = std::move(text); }
    const std::string& Get(int control) const;

    DialogCheck CheckDpi() const;
    DialogCheck CheckBwr() const;
    DialogCheck CheckSymbolWidth() const;
    DialogCheck CheckBarHeight() const;
    DialogCheck CheckBearer() const;
    DialogCheck CheckRatio() const;
    DialogCheck CheckMagnification() const;
    DialogCheck CheckX() const;
    DialogCheck CheckGs() const;

    SettingsRecord& m_s;
    std::string m_pattern;
    int m_family;
    int m_variation;
    int m_addOn;
    int m_method;
    int m_dpi;
    double m_dot = 0;
    double m_x = 0;
    double m_ratio = 0;
    int m_verification = 0;
    bool m_firstLayout = false;
    bool m_zeroRow = false;
    std::vector<int> m_dpiList;
    std::vector<XDimensionRow> m_rows;
    int m_row = -1;
    std::vector<double> m_ratios;
    int m_ratioRow = -1;
    std::map<int, std::string> m_texts;
};

// After the dialog closed: the user-sized mark in every case and, after OK,
// the verification-mark indicator of the input bar (when there is one).
void AfterSymbolOptions(bool ok, InputBar* bar);

}  // namespace vg
