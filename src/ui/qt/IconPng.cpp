// Build tool: writes the program's icon as a PNG of the given size, each pixel an exact square.
#include <QImage>
#include <QString>

int main(int argc, char* argv[]) {
  if (argc != 4) return 2;
  const QImage icon(QString::fromLocal8Bit(argv[1]));
  const int size = QString::fromLocal8Bit(argv[2]).toInt();
  if (icon.isNull() || size <= 0) return 1;
  return icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
