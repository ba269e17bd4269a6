#include "platform/network_text.h"

#include <QStringDecoder>

namespace hostlore {

QString TextFromNetwork(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(view);
    return utf8.hasError() ? QString::fromLatin1(view) : text;
}

}  // namespace hostlore
