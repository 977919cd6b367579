// SPDX-License-Identifier: MIT
// Writes an LZH archive for the tests: MakeLzh OUT METHOD LEVEL FILE NAME...
// (METHOD -lh0- to -lh7-, LEVEL 0 to 2), each FILE stored under NAME in
// Windows-31J, as Japanese archivers write names. jlha's own command line
// takes neither the method nor such names.
import java.io.FileOutputStream;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.Properties;
import jp.gr.java_conf.dangan.util.lha.LhaHeader;
import jp.gr.java_conf.dangan.util.lha.LhaOutputStream;
import jp.gr.java_conf.dangan.util.lha.LhaProperty;

public class MakeLzh {
  public static void main(String[] args) throws Exception {
    Properties property = LhaProperty.getProperties();
    property.put("lha.encoding", "Windows-31J");
    try (LhaOutputStream out = new LhaOutputStream(new FileOutputStream(args[0]), property)) {
      for (int i = 3; i + 1 < args.length; i += 2) {
        byte[] data = Files.readAllBytes(Paths.get(args[i]));
        LhaHeader header = new LhaHeader(args[i + 1]);
        header.setCompressMethod(args[1]);
        header.setHeaderLevel(Integer.parseInt(args[2]));
        header.setOriginalSize(data.length);
        out.putNextEntry(header);
        out.write(data);
        out.closeEntry();
      }
    }
  }
}
