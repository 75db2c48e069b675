#include "support/formfixture.h"

namespace zerwa::test {

FormFixture::FormFixture(const VariantProfile& profile, QChar decimalSeparator)
    : m_profile(profile)
    , m_separator(decimalSeparator) {}

FormFixture::~FormFixture() = default;

TForm1& FormFixture::start() {
    AppContext context;
    context.profile = &m_profile;
    context.prompter = &m_prompter;
    context.numbers = NumberFormat(m_separator);
    context.startupDirectory = m_folder.path();
    context.terminateProcess = [this](int code) { m_exitCode = code; };
    context.serialPortFactory = m_serialPortFactory;
    if (!context.serialPortFactory) {
        context.serialPortFactory = [this](const QString&) -> std::unique_ptr<SerialPort> {
            return std::make_unique<RecordingSerialPort>(m_serial);
        };
    }
    m_form = std::make_unique<TForm1>(context);
    return *m_form;
}

TForm1& FormFixture::restart() {
    m_form.reset();
    return start();
}

} // namespace zerwa::test
