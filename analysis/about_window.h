#pragma once
// The about box: version, licence, developer and home page, with the address as a link. While
// it shows, the program's other windows are disabled; a click outside the link,
// Escape or Enter closes it.
#include <memory>
#include <string>

#include "analysis/analysis_host.h"

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
    Control* Form() const { return link_.Form(); }
    // The link's rectangle in window coordinates.
    Rect LinkRect() const;

private:
    static void OnClientPaint(void* self, Control* form, HDC dc);
    static void OnMouseMove(void* self, Control* form, MouseEventData& data);
    static void OnMouseDown(void* self, Control* form, MouseEventData& data);
    static void OnShow(void* self, Control* form);
    static void OnHide(void* self, Control* form);
    static void OnKeyDown(void* self, Control* form, int32_t& key, uint32_t shift);

    void SetPeersEnabled(bool enabled);
    void OpenHomePage();

    FormLink link_;
    AnalysisHost host_;
    AboutTexts texts_;
};

std::unique_ptr<AboutWindow> BuildAboutWindow(Control* form, const AnalysisHost& host,
                                              const AboutTexts& texts);

}  // namespace zam
