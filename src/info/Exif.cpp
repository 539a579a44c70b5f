// The EXIF reader.
