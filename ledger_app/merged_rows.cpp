#include "merged_rows.h"

#include "csv/input_file.h"
#include "csv/ledger_reader.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

struct MergedRows::Source {
    std::unique_ptr<QIODevice> device;
    std::unique_ptr<LedgerReader> reader;
    bool waiting = false; // a row read and not yet handed out
    QDate date;           // of that row, or of the row before it
};

MergedRows::MergedRows(const QStringList& files) : files_(files) {}

MergedRows::~MergedRows() = default;

bool MergedRows::open()
{
    for (const QString& path : files_) {
        auto source = std::make_unique<Source>();
        QString problem;
        source->device = openInput(path, problem);
        if (!source->device) {
            problem_ = QStringLiteral("%1 を読めません: %2").arg(QFileInfo(path).fileName(), problem);
            return false;
        }
        total_ += std::max<qint64>(source->device->size(), 1);
        source->reader = std::make_unique<LedgerReader>(*source->device);
        sources_.push_back(std::move(source));
        if (const std::optional<BatchResult> refused = sources_.back()->reader->readHeader()) {
            problem_ = QStringLiteral("%1 を読めません: %2").arg(QFileInfo(path).fileName(), refused->problem);
            return false;
        }
        if (!advance(*sources_.back()))
            return false;
    }
    return true;
}

bool MergedRows::advance(Source& source)
{
    source.waiting = source.reader->next();
    if (source.waiting) {
        if (const auto& event = source.reader->event())
            source.date = event->date;
        return true;
    }
    if (const std::optional<BatchResult>& stopped = source.reader->stopped()) {
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            if (sources_[i].get() == &source)
                problem_ = QStringLiteral("%1 を読めません: %2").arg(QFileInfo(files_[qsizetype(i)]).fileName(), stopped->problem);
        }
        return false;
    }
    return true;
}

bool MergedRows::next()
{
    if (handedOut_ && !advance(*sources_[current_]))
        return false;
    handedOut_ = false;
    const Source* earliest = nullptr;
    for (std::uint32_t i = 0; i < sources_.size(); ++i) {
        const Source& source = *sources_[i];
        if (source.waiting && (!earliest || source.date < earliest->date)) {
            earliest = &source;
            current_ = i;
        }
    }
    handedOut_ = earliest != nullptr;
    return handedOut_;
}

const LedgerReader& MergedRows::reader() const { return *sources_[current_]->reader; }

int MergedRows::permille() const
{
    qint64 read = 0;
    for (const auto& source : sources_)
        read += source->device->pos();
    return int(std::min<qint64>(read * 1000 / std::max<qint64>(total_, 1), 1000));
}
