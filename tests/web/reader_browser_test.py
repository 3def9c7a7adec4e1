#!/usr/bin/python3
"""The web reader's page in headless Debian chromium, as a person uses it.

    reader_browser_test.py ORVA_SERVE LIBRARY SCREENSHOTS

Starts ORVA_SERVE on LIBRARY (the study library the tests build) on a free
port, then opens a chapter, moves to the next, searches a phrase, opens a
Strong's entry and switches to the parallel view, saving a screenshot of each
state in SCREENSHOTS. Exits with 77 (skipped) when chromium, its driver or
Selenium is not installed.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

CHROMEDRIVER = "/usr/bin/chromedriver"
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None

SERVE, LIBRARY, SHOTS = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)


class ReaderPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(SHOTS, exist_ok=True)
        cls.server = subprocess.Popen([SERVE, LIBRARY, "--port", "0"], stdout=subprocess.PIPE, text=True)
        line = cls.server.stdout.readline()  # "serving LIB (N books) on http://127.0.0.1:PORT/ ..."
        cls.base = line.split(" on ")[1].split()[0].rstrip("/")
        cls.profile = tempfile.TemporaryDirectory()
        options = webdriver.ChromeOptions()
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--disable-quic",
                     "--no-first-run", "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--window-size=1280,900", "--user-data-dir=" + cls.profile.name):
            options.add_argument(flag)
        options.binary_location = shutil.which("chromium")
        cls.browser = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.server.terminate()
        cls.server.wait()
        cls.profile.cleanup()

    def open(self, query):
        self.browser.get(self.base + "/" + query)
        self.wait_shown()

    def wait_shown(self):
        """Until the page has drawn the view its address names."""
        WebDriverWait(self.browser, 20).until(
            lambda b: b.execute_script("return document.body.dataset.ready === location.search"))

    def find(self, selector):
        return self.browser.find_element(By.CSS_SELECTOR, selector)

    def finds(self, selector):
        return self.browser.find_elements(By.CSS_SELECTOR, selector)

    def shot(self, name):
        self.browser.save_screenshot(os.path.join(SHOTS, name + ".png"))

    def test_reading_searching_and_studying(self):
        # A chapter, then the next one with the arrow key; the address follows.
        self.open("?book=kjv&read=John+3")
        self.assertEqual(self.find("h1").text, "John 3")
        self.assertIn("For God so loved the world", self.find("#v16").text)
        self.shot("1-chapter")
        self.find("body").send_keys(Keys.ARROW_RIGHT)
        WebDriverWait(self.browser, 20).until(lambda b: "John+4" in b.current_url)
        self.wait_shown()
        self.assertEqual(self.find("h1").text, "John 4")
        self.assertEqual(len(self.finds(".verse")), 54)
        self.shot("2-next-chapter")

        # A phrase: its count, and in each hit the words of the phrase marked.
        self.find("#search-q").send_keys("son of man")
        self.find("#search-mode").send_keys("phrase")
        self.find("#search-q").send_keys(Keys.ENTER)
        WebDriverWait(self.browser, 20).until(lambda b: "find=son+of+man" in b.current_url)
        self.wait_shown()
        self.assertTrue(self.find("#count").text.startswith("193 verses, 1–50"), self.find("#count").text)
        hits = self.finds(".hits li")
        self.assertEqual(len(hits), 50)
        first = [mark.text.lower() for mark in hits[0].find_elements(By.TAG_NAME, "mark")]
        self.assertEqual(first, ["son", "of", "man"])
        self.shot("3-search")

        # A Strong's number of John 3:16 opens its lexicon entry beside the text.
        self.open("?book=kjv&read=John+3&strongs=1")
        self.find('#v16 a.strongs[data-number="G25"]').click()
        WebDriverWait(self.browser, 20).until(lambda b: "ἀγαπάω" in self.find("#panel").text)
        self.assertIn("to love", self.find("#panel").text)
        self.shot("4-strongs")

        # The same chapter in every Bible, verse by verse: the key p.
        self.open("?book=kjv&read=John+3")
        self.find("body").send_keys("p")
        WebDriverWait(self.browser, 20).until(lambda b: "book=" not in b.current_url)
        self.wait_shown()
        head = [cell.text for cell in self.finds(".parallel .head span")][1:]
        self.assertEqual(len(head), 3)
        self.assertEqual(len(self.finds(".parallel .row")), 37)  # the head and 36 verses
        self.shot("5-parallel")
        self.browser.set_window_size(390, 844)
        self.shot("6-parallel-phone")
        self.browser.set_window_size(1280, 900)

    def test_one_chapter_books_and_topical_index_hits(self):
        # A book of one chapter still has the chapters before and after it.
        self.open("?book=kjv&read=Jude")
        self.assertEqual((self.find("#previous").text, self.find("#next").text), ("← 3 John 1", "Revelation 1 →"))
        # A hit in the topical index is its topic as shown, the found word marked.
        self.open("?find=faith&book=naves")
        hit = self.finds(".hits li")[1]
        self.assertIn("topic=ASSURANCE", hit.find_element(By.CSS_SELECTOR, "a").get_attribute("href"))
        self.assertNotIn("{\\verse", hit.text)
        self.assertEqual({mark.text.lower() for mark in hit.find_elements(By.TAG_NAME, "mark")}, {"faith"})

    def test_text_from_the_address_stays_text(self):
        self.open("?find=%3Cimg+src%3Dx+onerror%3Dalert(1)%3E%3Cscript%3Ealert(2)%3C%2Fscript%3E")
        self.assertEqual(self.find("h1 q").text, "<img src=x onerror=alert(1)><script>alert(2)</script>")
        self.assertEqual(len(self.finds("main img, main script")), 0)
        self.open("?book=kjv&read=%3Cb%3Enone")
        self.assertIn("<b>none", self.find(".error").text)
        self.assertEqual(len(self.finds("main b")), 0)
        # An offset that is no number, or below 0, reads the first page.
        for offset in ("abc", "-7"):
            self.open("?find=light&book=kjv&offset=" + offset)
            self.assertTrue(self.find("#count").text.startswith("235 verses, 1–50"), self.find("#count").text)


if __name__ == "__main__":
    if webdriver is None or not shutil.which("chromium") or not os.access(CHROMEDRIVER, os.X_OK):
        print("skipped: the browser tests need chromium, chromium-driver and python3-selenium")
        sys.exit(77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
