#pragma once
// The about box: version, licence, developer and home page, with the address as a link. While
// it shows, the program's other windows are disabled; a click outside the link,
// Escape or Enter closes it.
#include <memory>
#include <string>

#include "analysis/analysis_host.h"
#include "toolkit/weak_ref.h"

namespace zam {

// Configuration of the build, Windows-1251.
struct AboutTexts {
    std::string licence;
    std::string developer;
    std::string footer;  // organisation and year
    std::string homePage;
};

class AboutWindow {
public:
    // Attaches paint, pointer, click, show and hide to the application's form ("О программе").
    AboutWindow(Control* form, const AnalysisHost& host, const AboutTexts& texts);
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // Null once the form is freed.
    Control* Form() const { return form_; }
    // The link's rectangle in window coordinates.
    Rect LinkRect() const;

private:
    void OnClientPaint(Control* form, HDC dc);
    void OnMouseMove(Control* form, MouseEventData& data);
    void OnMouseDown(Control* form, MouseEventData& data);
    void OnShow(Control* form);
    void OnHide(Control* form);
    void OnKeyDown(Control* form, int32_t& key, uint32_t shift);

    void SetPeersEnabled(bool enabled);
    void OpenHomePage();

    // Null once the toolkit has freed the form: the window then does nothing.
    WeakRef<Control> form_;
    AnalysisHost host_;
    AboutTexts texts_;
};

std::unique_ptr<AboutWindow> BuildAboutWindow(Control* form, const AnalysisHost& host,
                                              const AboutTexts& texts);

}  // namespace zam
